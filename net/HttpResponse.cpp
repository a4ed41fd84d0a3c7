#include "net/HttpResponse.h"

#include "net/HttpErrors.h"

#include <algorithm>
#include <limits>

namespace mirel {

namespace {

QByteArray nameOf(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? line : line.left(colon);
}

QByteArray valueOf(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QByteArray() : line.mid(colon + 1).trimmed();
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.trimmed().compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray THttpResponse::header(const QByteArray &name) const
{
    for (const QByteArray &line : RawHeaders) {
        if (sameName(nameOf(line), name))
            return valueOf(line);
    }
    return QByteArray();
}

QList<QByteArray> THttpResponse::headers(const QByteArray &name) const
{
    QList<QByteArray> values;
    for (const QByteArray &line : RawHeaders) {
        if (sameName(nameOf(line), name))
            values.append(valueOf(line));
    }
    return values;
}

int statusCode(const QByteArray &statusLine)
{
    const QList<QByteArray> words = statusLine.simplified().split(' ');
    if (words.size() < 2)
        return -1;
    const QByteArray &w = words[1];
    bool ok = false;
    const int code = w.toInt(&ok, 10);
    const bool digits = !w.isEmpty() && std::all_of(w.begin(), w.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+';
    });
    return ok && digits ? code : -1;
}

qint64 contentLengthValue(const QByteArray &value)
{
    const QByteArray v = value.trimmed();
    bool ok = false;
    const int n = v.toInt(&ok, 10);
    return ok && n >= 0 ? n : -1;
}

THttpResponse parseResponseHead(const QByteArray &statusLine, const QList<QByteArray> &lines)
{
    THttpResponse r;
    r.ResponseText = statusLine;
    r.ResponseCode = statusCode(statusLine);
    for (const QByteArray &line : lines) {
        if ((line.startsWith(' ') || line.startsWith('\t')) && !r.RawHeaders.isEmpty())
            r.RawHeaders.last() += ' ' + line.trimmed();
        else
            r.RawHeaders.append(line);
    }
    r.Location = r.header("Location");
    r.Connection = r.header("Connection");
    r.ProxyConnection = r.header("Proxy-Connection");
    r.ContentType = r.header("Content-Type");
    r.TransferEncoding = r.header("Transfer-Encoding");
    r.ContentLength = contentLengthValue(r.header("Content-Length"));
    r.HasContentLength = r.ContentLength >= 0;
    return r;
}

THttpResponse readResponseHead(ResponseReader &reader)
{
    const QByteArray statusLine = reader.readLine();
    qsizetype total = statusLine.size();
    QList<QByteArray> lines;
    for (;;) {
        QByteArray line;
        try {
            line = reader.readLine();
        } catch (const EConnClosedGracefully &) {
            break;
        }
        if (line.isEmpty())
            break;
        total += line.size() + 2;
        if (total > kMaxHeaderBlock)
            throw EResponseTooLarge(
                QStringLiteral("Response header block larger than %1 bytes.").arg(kMaxHeaderBlock));
        lines.append(line);
    }
    return parseResponseHead(statusLine, lines);
}

bool keepAliveByHeaders(const THttpResponse &response, THttpProtocolVersion version)
{
    const auto equals = [](const QByteArray &value, const char *word) {
        return value.trimmed().compare(word, Qt::CaseInsensitive) == 0;
    };
    if (version == pv1_0)
        return equals(response.Connection, "keep-alive") ||
               equals(response.ProxyConnection, "keep-alive");
    return !equals(response.Connection, "close") && !equals(response.ProxyConnection, "close");
}

qint64 chunkSize(const QByteArray &sizeLine)
{
    // The hex digits end at a blank or at ";" (a chunk extension, ignored).
    qsizetype end = 0;
    while (end < sizeLine.size() && sizeLine[end] != ' ' && sizeLine[end] != ';')
        ++end;
    if (end == 0)
        return 0;
    quint64 value = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = sizeLine[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        if (value > (quint64(std::numeric_limits<qint64>::max()) >> 4))
            return 0;
        value = (value << 4) | quint64(digit);
    }
    return value > quint64(std::numeric_limits<qint64>::max()) ? 0 : qint64(value);
}

QByteArray readResponseBody(ResponseReader &reader, const THttpResponse &response)
{
    QByteArray body;
    if (response.TransferEncoding.contains("chunked")) {
        try {
            qint64 size = chunkSize(reader.readLine());
            while (size > 0) {
                if (reader.readBytes(size, body) < size)
                    return body; // cut short by the peer
                reader.readLine();
                size = chunkSize(reader.readLine());
            }
            reader.readLine();
        } catch (const EConnClosedGracefully &) {
            // a chunked body cut short is returned as far as it arrived
        }
    } else if (response.ContentLength > 0) {
        // One allocation instead of copies as the body grows; a length beyond what any
        // page of ours needs is not taken on trust.
        constexpr qint64 kReserveAtMost = 16 * 1024 * 1024;
        if (response.ContentLength <= kReserveAtMost)
            body.reserve(qsizetype(response.ContentLength));
        reader.readBytes(response.ContentLength, body);
    } else if (!response.HasContentLength) {
        reader.readToEnd(body);
    }
    return body;
}

} // namespace mirel
