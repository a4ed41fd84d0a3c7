#include "net/HttpAddress.h"

#include "net/HttpErrors.h"

#include <QList>

namespace mirel {

namespace {

bool isGbkLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// The first "#" and what follows it up to the next "?" (or the end) are dropped.
QByteArray withoutFragment(const QByteArray &target)
{
    const qsizetype hash = target.indexOf('#');
    if (hash < 0)
        return target;
    const qsizetype query = target.indexOf('?', hash);
    return query < 0 ? target.left(hash) : target.left(hash) + target.mid(query);
}

void splitTarget(const QByteArray &target, HttpAddress &out)
{
    qsizetype limit = target.indexOf('?');
    if (limit < 0)
        limit = target.indexOf('=');
    if (limit < 0)
        limit = target.size();
    const qsizetype lastSlash = target.lastIndexOf('/', limit - 1);
    const qsizetype docStart = lastSlash + 1; // target always begins with "/"
    out.path = target.left(docStart);
    const qsizetype query = target.indexOf('?', docStart);
    if (query < 0) {
        out.document = target.mid(docStart);
        out.params.clear();
    } else {
        out.document = target.mid(docStart, query - docStart);
        out.params = target.mid(query);
    }
}

QByteArray defaultPort(const QByteArray &protocol)
{
    const QByteArray p = protocol.toLower();
    if (p == "http")
        return "80";
    if (p == "https")
        return "443";
    return QByteArray();
}

} // namespace

QByteArray slashesFromBackslashes(const QByteArray &address)
{
    QByteArray out = address;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (isGbkLeadByte(out[i]) && i + 1 < out.size())
            ++i; // the trail byte stays as it is
        else if (out[i] == '\\')
            out[i] = '/';
    }
    return out;
}

QByteArray removeDotSegments(const QByteArray &path)
{
    const QList<QByteArray> segments = path.split('/');
    QList<QByteArray> kept;
    for (qsizetype i = 1; i < segments.size(); ++i) {
        const QByteArray &s = segments[i];
        const bool last = i == segments.size() - 1;
        if (s == ".") {
            if (last)
                kept.append(QByteArray());
        } else if (s == "..") {
            if (!kept.isEmpty())
                kept.removeLast();
            if (last)
                kept.append(QByteArray());
        } else {
            kept.append(s);
        }
    }
    return "/" + kept.join('/');
}

HttpAddress resolveAddress(const QByteArray &rawAddress, const HttpAddress &current)
{
    const QByteArray address = slashesFromBackslashes(rawAddress);
    HttpAddress out;
    QByteArray target;
    // "://" names a scheme only before the first "/", "?" or "#".
    qsizetype schemeEnd = address.indexOf("://");
    for (const char c : {'/', '?', '#'}) {
        const qsizetype at = address.indexOf(c);
        if (at >= 0 && at < schemeEnd)
            schemeEnd = -1;
    }
    if (schemeEnd >= 0) {
        out.protocol = address.left(schemeEnd);
        const QByteArray rest = address.mid(schemeEnd + 3);
        qsizetype authorityEnd = rest.size();
        for (const char c : {'/', '?', '#'}) {
            const qsizetype at = rest.indexOf(c);
            if (at >= 0 && at < authorityEnd)
                authorityEnd = at;
        }
        QByteArray authority = rest.left(authorityEnd);
        target = rest.mid(authorityEnd);
        if (!target.startsWith('/'))
            target.prepend('/');
        const qsizetype at = authority.lastIndexOf('@');
        if (at >= 0) {
            const QByteArray user = authority.left(at);
            const qsizetype colon = user.indexOf(':');
            out.username = colon < 0 ? user : user.left(colon);
            out.password = colon < 0 ? QByteArray() : user.mid(colon + 1);
            authority = authority.mid(at + 1);
        }
        qsizetype portColon = -1;
        if (authority.startsWith('[')) {
            const qsizetype close = authority.indexOf(']');
            if (close < 0) {
                out.host = authority.mid(1);
            } else {
                out.host = authority.mid(1, close - 1);
                if (authority.size() > close + 1 && authority[close + 1] == ':')
                    portColon = close + 1;
            }
        } else {
            portColon = authority.indexOf(':');
            out.host = portColon < 0 ? authority : authority.left(portColon);
        }
        if (portColon >= 0)
            out.port = authority.mid(portColon + 1);
        if (out.port.isEmpty())
            out.port = defaultPort(out.protocol);
        if (out.port.isEmpty())
            out.port = current.port;
        if (out.port.isEmpty())
            throw EUnknownProtocol();
        target = withoutFragment(target);
    } else {
        out.protocol = current.protocol;
        out.username = current.username;
        out.password = current.password;
        out.host = current.host;
        out.port = current.port;
        target = withoutFragment(address);
        if (!target.startsWith('/'))
            target = current.path + target;
        qsizetype query = target.indexOf('?');
        if (query < 0)
            query = target.size();
        target = removeDotSegments(target.left(query)) + target.mid(query);
    }
    splitTarget(target, out);
    return out;
}

} // namespace mirel
