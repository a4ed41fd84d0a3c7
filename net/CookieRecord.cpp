#include "net/CookieRecord.h"

#include "net/RequestWriter.h"
#include "util/Errors.h"
#include "util/TextCodec.h"

namespace mirel {

namespace {

QByteArray trimControl(const QByteArray &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 0x20)
        --end;
    return s.mid(begin, end - begin);
}

struct Attribute
{
    QByteArray name; // upper case
    QByteArray value;
    bool hasValue;
};

const Attribute *find(const QList<Attribute> &attrs, const char *name)
{
    for (const Attribute &a : attrs) {
        if (a.name == name)
            return &a;
    }
    return nullptr;
}

QList<int> parsePorts(QByteArray text)
{
    if (text.startsWith('"'))
        text.remove(0, 1);
    if (text.endsWith('"'))
        text.chop(1);
    QList<int> ports;
    for (const QByteArray &raw : text.split(',')) {
        const QByteArray part = raw.trimmed();
        if (part.isEmpty())
            continue;
        bool ok = false;
        const int port = part.toInt(&ok, 10);
        if (!ok)
            throw EConvertError(
                QStringLiteral("'%1' is not a valid integer value").arg(fromGbk(part)));
        ports.append(port);
    }
    if (ports.isEmpty())
        ports.append(80);
    return ports;
}

} // namespace

TCookieRFC2109 parseCookie(const QByteArray &text, const QDateTime &now, bool setCookie2)
{
    TCookieRFC2109 c;
    c.CookieText = text;
    QList<QByteArray> pieces;
    for (const QByteArray &piece : text.split(';'))
        pieces.append(trimControl(piece));

    const QByteArray &first = pieces.first();
    const qsizetype eq = first.indexOf('=');
    if (eq >= 0) {
        c.Name = first.left(eq);
        c.Value = first.mid(eq + 1);
    }

    QList<Attribute> attrs;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QByteArray &p = pieces[i];
        const qsizetype at = p.indexOf('=');
        if (at >= 0)
            attrs.append({p.left(at).toUpper(), p.mid(at + 1), true});
        else
            attrs.append({p.toUpper(), QByteArray(), false});
    }

    if (const Attribute *a = find(attrs, "PATH"))
        c.Path = a->value;
    if (c.Path.startsWith('"'))
        c.Path.remove(0, 1);
    if (c.Path.endsWith('"'))
        c.Path.chop(1);
    if (c.Path.isEmpty())
        c.Path = "/";
    if (const Attribute *a = find(attrs, "EXPIRES"))
        c.Expires = a->value;
    if (const Attribute *a = find(attrs, "DOMAIN"))
        c.Domain = a->value;
    for (const Attribute &a : attrs) {
        if (!a.hasValue && a.name == "SECURE")
            c.Secure = true;
        if (setCookie2 && !a.hasValue && a.name == "DISCARD")
            c.Discard = true;
    }
    if (const Attribute *a = find(attrs, "MAX-AGE")) {
        bool ok = false;
        const int age = a->value.trimmed().toInt(&ok, 10);
        c.MaxAge = ok ? age : -1;
    }
    if (const Attribute *a = find(attrs, "VERSION"))
        c.Version = a->value;
    if (const Attribute *a = find(attrs, "COMMENT"))
        c.Comment = a->value;
    if (setCookie2) {
        c.Style = csRFC2965;
        if (const Attribute *a = find(attrs, "COMMENTURL"))
            c.CommentURL = a->value;
        const Attribute *port = find(attrs, "PORT");
        c.PortList = port ? parsePorts(port->value) : QList<int>{80};
    }
    if (c.Expires.isEmpty()) {
        c.Style = csNetscape;
        if (c.MaxAge >= 0)
            c.Expires = httpDate(now.addSecs(c.MaxAge));
    }
    return c;
}

} // namespace mirel
