#pragma once

#include "net/CookieRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <functional>

namespace mirel {

// The cookies that servers set, in memory, grouped by domain in the order each domain
// and each name first appeared.
class TCookieStore
{
public:
    using Clock = std::function<QDateTime()>;

    struct DomainEntry
    {
        QByteArray key; // the domain as first stored
        QList<TCookieRFC2109> cookies;
        // The position in cookies of each name, by the name in ASCII lower case.
        QHash<QByteArray, qsizetype> names;
    };

    // clock gives the present moment; the system clock when empty.
    explicit TCookieStore(Clock clock = {});

    // Files the cookie of a Set-Cookie (or Set-Cookie2) line received from host. An
    // invalid cookie is dropped without a message. A Set-Cookie2 port that is not a
    // number raises EConvertError.
    void AddCookie(const QByteArray &text, const QByteArray &host, bool setCookie2 = false);
    // The value of the Cookie line for a request to host with this directory path;
    // expired cookies are removed first. Empty when no cookie applies.
    QByteArray CookieValue(const QByteArray &host, const QByteArray &directoryPath);

    const QList<DomainEntry> &domains() const { return m_domains; }
    void setClock(Clock clock);
    QDateTime now() const { return m_clock(); }

private:
    void removeExpired();
    DomainEntry &entryFor(const QByteArray &domain);

    Clock m_clock;
    QList<DomainEntry> m_domains;
    // The position in m_domains of each domain, by the domain in ASCII lower case.
    QHash<QByteArray, qsizetype> m_domainIndex;
};

// Whether a cookie domain applies to host: the same name, or host ends with "." and the
// domain without its leading "."; a dotted IPv4 host matches only itself.
bool domainMatches(const QByteArray &host, const QByteArray &domain);
bool isDottedIPv4(const QByteArray &host);

} // namespace mirel
