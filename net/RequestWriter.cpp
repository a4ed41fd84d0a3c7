#include "net/RequestWriter.h"

#include <QTimeZone>

namespace mirel {

namespace {

bool isBreak(char c)
{
    return c == ' ' || c == '\t' || c == ',';
}

} // namespace

QList<QByteArray> foldHeaderLine(const QByteArray &line)
{
    QList<QByteArray> pieces;
    QByteArray rest = line;
    while (rest.size() > kMaxHeaderLineLength) {
        qsizetype cut = -1;
        // A comma stays with the piece before the break, a blank or tab goes.
        for (qsizetype i = kMaxHeaderLineLength - 1; i >= 1; --i) {
            if (rest[i] == ',' && i + 1 <= kMaxHeaderLineLength) {
                cut = i + 1;
                break;
            }
            if (isBreak(rest[i])) {
                cut = i;
                break;
            }
        }
        if (cut <= 1)
            break;
        QByteArray tail = rest.mid(cut);
        qsizetype skip = 0;
        while (skip < tail.size() && (tail[skip] == ' ' || tail[skip] == '\t'))
            ++skip;
        if (skip == tail.size()) {
            rest.truncate(cut);
            break;
        }
        pieces.append(rest.left(cut));
        rest = " " + tail.mid(skip);
    }
    pieces.append(rest);
    return pieces;
}

QByteArray httpDate(const QDateTime &moment)
{
    static const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime utc = moment.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QByteArray(kDays[d.dayOfWeek() - 1]) + ", " +
           QByteArray::number(d.day()).rightJustified(2, '0') + ' ' + kMonths[d.month() - 1] + ' ' +
           QByteArray::number(d.year()).rightJustified(4, '0') + ' ' +
           QByteArray::number(t.hour()).rightJustified(2, '0') + ':' +
           QByteArray::number(t.minute()).rightJustified(2, '0') + ':' +
           QByteArray::number(t.second()).rightJustified(2, '0') + " GMT";
}

QByteArray writeRequestHead(const QByteArray &method, const QByteArray &target,
                            THttpProtocolVersion version, const THttpRequest &r,
                            const QByteArray &cookie)
{
    QByteArray out = method + ' ' + target + (version == pv1_0 ? " HTTP/1.0" : " HTTP/1.1");
    out += "\r\n";
    const auto line = [&out](const char *name, const QByteArray &value) {
        if (value.isEmpty())
            return;
        for (const QByteArray &piece : foldHeaderLine(QByteArray(name) + ": " + value)) {
            out += piece;
            out += "\r\n";
        }
    };
    line("Connection", r.Connection);
    line("Content-Version", r.ContentVersion);
    line("Content-Encoding", r.ContentEncoding);
    line("Content-Language", r.ContentLanguage);
    line("Content-Type", r.ContentType);
    if (r.ContentLength >= 0)
        line("Content-Length", QByteArray::number(r.ContentLength));
    line("Cache-control", r.CacheControl);
    line("Pragma", r.Pragma);
    for (const QByteArray &custom : r.CustomHeaders) {
        for (const QByteArray &piece : foldHeaderLine(custom)) {
            out += piece;
            out += "\r\n";
        }
    }
    line("Proxy-Connection", r.ProxyConnection);
    line("Host", r.Host);
    line("Accept", r.Accept);
    line("Accept-Charset", r.AcceptCharSet);
    line("Accept-Encoding", r.AcceptEncoding);
    line("Accept-Language", r.AcceptLanguage);
    line("From", r.From);
    line("Referer", r.Referer);
    line("User-Agent", r.UserAgent);
    if (!r.Range.isEmpty())
        line("Range", "bytes=" + r.Range);
    if (r.LastModified.isValid())
        line("If-Modified-Since", httpDate(r.LastModified));
    if (r.BasicAuthentication)
        line("Authorization", "Basic " + (r.Username + ':' + r.Password).toBase64());
    line("Cookie", cookie);
    out += "\r\n";
    return out;
}

} // namespace mirel
