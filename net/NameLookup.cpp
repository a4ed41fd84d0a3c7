#include "net/NameLookup.h"

#include "net/SocketErrors.h"

#include <system_error>

namespace mirel {

std::vector<SocketAddress> platformResolve(const QByteArray &host, quint16 port)
{
    std::vector<SocketAddress> addresses = addressesOf(host.toStdString(), port);
    if (addresses.empty())
        throw socketError(kHostNotFound);
    return addresses;
}

std::vector<SocketAddress> lookUpName(const QByteArray &host, quint16 port,
                                      std::chrono::steady_clock::time_point deadline,
                                      const NameResolver &resolver)
{
    std::vector<SocketAddress> addresses = addressesOf(host.toStdString(), port, true);
    if (!addresses.empty())
        return addresses;
    if (std::chrono::steady_clock::now() >= deadline)
        throw socketError(kConnectionTimedOut);

    std::optional<std::vector<SocketAddress>> found;
    try {
        // The lookup holds its own copies of the name and the resolver.
        found = lookUpBefore([resolver, host = QByteArray(host.constData(), host.size()),
                              port] { return resolver(host, port); },
                             deadline);
    } catch (const std::system_error &e) {
        throw socketErrorFromErrno(e.code().value());
    }
    if (!found)
        throw socketError(kConnectionTimedOut);
    if (found->empty())
        throw socketError(kHostNotFound);
    return std::move(*found);
}

} // namespace mirel
