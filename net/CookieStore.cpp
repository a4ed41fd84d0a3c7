#include "net/CookieStore.h"

#include "net/CookieDate.h"

#include <algorithm>

namespace mirel {

namespace {

bool hasControlByte(const QByteArray &s)
{
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

// Names and domains match without regard to ASCII case.
QByteArray foldedCase(const QByteArray &s)
{
    QByteArray out = s;
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

void indexNames(TCookieStore::DomainEntry &entry)
{
    entry.names.clear();
    for (qsizetype i = 0; i < entry.cookies.size(); ++i)
        entry.names.insert(foldedCase(entry.cookies[i].Name), i);
}

QDateTime systemNow()
{
    return QDateTime::currentDateTimeUtc();
}

} // namespace

bool isDottedIPv4(const QByteArray &host)
{
    const QList<QByteArray> parts = host.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray &p : parts) {
        if (p.isEmpty() || p.size() > 3 ||
            !std::all_of(p.begin(), p.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            p.toInt() > 255)
            return false;
    }
    return true;
}

bool domainMatches(const QByteArray &host, const QByteArray &domain)
{
    if (isDottedIPv4(host))
        return host == domain;
    const QByteArray bare = domain.startsWith('.') ? domain.mid(1) : domain;
    if (bare.isEmpty())
        return false;
    return host == bare || host.endsWith("." + bare);
}

TCookieStore::TCookieStore(Clock clock)
{
    setClock(std::move(clock));
}

void TCookieStore::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(systemNow);
}

void TCookieStore::AddCookie(const QByteArray &text, const QByteArray &host, bool setCookie2)
{
    TCookieRFC2109 cookie = parseCookie(text, m_clock(), setCookie2);
    if (hasControlByte(cookie.Name) || hasControlByte(cookie.Value))
        return;
    if (cookie.Domain.isEmpty()) {
        cookie.Domain = host;
    } else {
        // A domain of one label would set the cookie for every site under it.
        const QByteArray bare =
            cookie.Domain.startsWith('.') ? cookie.Domain.mid(1) : cookie.Domain;
        if (!bare.contains('.') && bare != host)
            return;
    }
    if (!domainMatches(host, cookie.Domain))
        return;

    DomainEntry &entry = entryFor(cookie.Domain);
    const QByteArray name = foldedCase(cookie.Name);
    const auto stored = entry.names.constFind(name);
    if (stored != entry.names.cend()) {
        entry.cookies[*stored] = std::move(cookie); // keeps its place, takes the new expiry too
        return;
    }
    entry.names.insert(name, entry.cookies.size());
    entry.cookies.append(std::move(cookie));
}

TCookieStore::DomainEntry &TCookieStore::entryFor(const QByteArray &domain)
{
    const QByteArray key = foldedCase(domain);
    const auto found = m_domainIndex.constFind(key);
    if (found != m_domainIndex.cend())
        return m_domains[*found];
    m_domainIndex.insert(key, m_domains.size());
    m_domains.append({domain, {}, {}});
    return m_domains.last();
}

void TCookieStore::removeExpired()
{
    const QDateTime now = m_clock();
    for (DomainEntry &d : m_domains) {
        const auto removed = d.cookies.removeIf([&now](const TCookieRFC2109 &c) {
            return !c.Expires.isEmpty() && cookieExpiryMoment(c.Expires) < now;
        });
        if (removed > 0)
            indexNames(d);
    }
}

QByteArray TCookieStore::CookieValue(const QByteArray &host, const QByteArray &directoryPath)
{
    removeExpired();
    QList<const TCookieRFC2109 *> taken;
    for (const DomainEntry &d : m_domains) {
        if (!domainMatches(host, d.key))
            continue;
        for (qsizetype i = d.cookies.size() - 1; i >= 0; --i) {
            const TCookieRFC2109 &c = d.cookies[i];
            if (directoryPath.startsWith(c.Path) && !c.Secure && !c.Value.isEmpty())
                taken.append(&c);
        }
    }
    QByteArray value;
    for (qsizetype i = taken.size() - 1; i >= 0; --i) {
        if (!value.isEmpty())
            value += "; ";
        value += taken[i]->Name + '=' + taken[i]->Value;
    }
    return value;
}

} // namespace mirel
