#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

namespace mirel {

enum TCookieStyle { csNetscape, csRFC2109, csRFC2965 };

// One cookie as filed in the store. A Set-Cookie2 record (TCookieRFC2965) also carries
// the comment address, the discard flag and the port list.
struct TCookieRFC2109
{
    QByteArray CookieText; // the text it was parsed from
    QByteArray Name;
    QByteArray Value;
    QByteArray Domain;
    QByteArray Path = "/";
    QByteArray Expires; // empty: none
    bool Secure = false;
    qint64 MaxAge = -1;
    QByteArray Version;
    QByteArray Comment;
    TCookieStyle Style = csRFC2109;
    // Set-Cookie2 only.
    QByteArray CommentURL;
    bool Discard = false;
    QList<int> PortList;
};

// Parses a Set-Cookie line; now gives the moment a Max-Age counts from. A Set-Cookie2
// line (setCookie2) also reads COMMENTURL, DISCARD and PORT; a port that is not a
// decimal number raises EConvertError "'<port>' is not a valid integer value".
TCookieRFC2109 parseCookie(const QByteArray &text, const QDateTime &now, bool setCookie2 = false);

} // namespace mirel
