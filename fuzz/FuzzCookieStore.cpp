// The cookie store on arbitrary input: the first line is the host, the second the
// directory path, every further line a Set-Cookie line ("2:" in front makes it a
// Set-Cookie2 line). The Cookie value built afterwards must be one safe header value,
// and every cookie in it must belong to the host.
#include "net/CookieStore.h"
#include "util/Errors.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

using namespace mirel;

namespace {

bool labelMatch(const QByteArray &host, const QByteArray &domain, Qt::CaseSensitivity cs)
{
    if (isDottedIPv4(host))
        return host.compare(domain, cs) == 0;
    const QByteArray bare = domain.startsWith('.') ? domain.mid(1) : domain;
    if (bare.isEmpty())
        return false;
    if (host.compare(bare, cs) == 0)
        return true;
    return host.size() > bare.size() && host[host.size() - bare.size() - 1] == '.' &&
           host.right(bare.size()).compare(bare, cs) == 0;
}

// Whether a cookie of this name and value is filed under a key that belongs to host.
bool sentFromHost(const TCookieStore &store, const QByteArray &host, const QByteArray &pair)
{
    for (const TCookieStore::DomainEntry &d : store.domains()) {
        if (!labelMatch(host, d.key, Qt::CaseSensitive))
            continue;
        for (const TCookieRFC2109 &c : d.cookies) {
            if (c.Name + '=' + c.Value == pair && !c.Secure && !c.Value.isEmpty() &&
                labelMatch(host, c.Domain, Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> lines = input.split('\n');
    const QByteArray host = lines.value(0);
    const QByteArray path = lines.value(1, "/");

    const QDateTime now(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
    TCookieStore store([now] { return now; });
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const bool two = lines[i].startsWith("2:");
        try {
            store.AddCookie(two ? lines[i].mid(2) : lines[i], host, two);
        } catch (const Exception &) {
            // a Set-Cookie2 port that is not a number
        }
    }

    const QByteArray value = store.CookieValue(host, path);
    if (value.contains('\r') || value.contains('\n') || value.contains('\0'))
        std::abort();
    if (value.isEmpty())
        return 0;
    for (const QByteArray &pair : value.split(';')) {
        const QByteArray p = pair.startsWith(' ') ? pair.mid(1) : pair;
        if (!sentFromHost(store, host, p))
            std::abort();
    }
    return 0;
}
