#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

namespace mirel {

enum THttpProtocolVersion { pv1_0, pv1_1 };

// The request fields of the client. They persist from call to call.
struct THttpRequest
{
    QByteArray Accept = "text/html, */*";
    QByteArray AcceptCharSet;
    QByteArray AcceptEncoding;
    QByteArray AcceptLanguage;
    QByteArray CacheControl;
    QByteArray Connection;
    QByteArray ContentEncoding;
    QByteArray ContentLanguage;
    qint64 ContentLength = -1;
    QByteArray ContentType = "text/html";
    QByteArray ContentVersion;
    QList<QByteArray> CustomHeaders;
    QByteArray From;
    QByteArray Host;
    QDateTime LastModified; // invalid = none
    QByteArray Pragma;
    QByteArray ProxyConnection;
    QByteArray Range;
    QByteArray Referer;
    QByteArray UserAgent = "Mozilla/3.0 (compatible; Mirel HTTP)";
    QByteArray Username;
    QByteArray Password;
    bool BasicAuthentication = false;
};

} // namespace mirel
