#pragma once

#include "util/NameLookup.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <vector>

namespace mirel {

// Resolves a host name to the addresses to try in order, blocking as long as it takes;
// throws (socket error 11001) when the name has none.
using NameResolver =
    std::function<std::vector<SocketAddress>(const QByteArray &host, quint16 port)>;

// The platform's name service (getaddrinfo).
std::vector<SocketAddress> platformResolve(const QByteArray &host, quint16 port);

// The addresses of host, looked up by resolver before the deadline. A numeric address
// is used as it is; a name is looked up on a thread of its own that a lookup still
// running at the deadline is left to finish alone while the call fails with socket
// error 10060.
std::vector<SocketAddress> lookUpName(const QByteArray &host, quint16 port,
                                      std::chrono::steady_clock::time_point deadline,
                                      const NameResolver &resolver);

} // namespace mirel
