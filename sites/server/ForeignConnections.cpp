#include "sites/server/ForeignConnections.h"

#include "sites/server/AcceptedConnections.h"
#include "sites/server/PeerOwner.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirel::siteserver {
namespace {

std::optional<Endpoint> endpointOf(int fd, bool peer)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    auto *raw = reinterpret_cast<sockaddr *>(&address);
    if ((peer ? ::getpeername(fd, raw, &length) : ::getsockname(fd, raw, &length)) != 0 ||
        address.sin_family != AF_INET)
        return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return Endpoint{text, ntohs(address.sin_port)};
}

bool ownConnection(int fd)
{
    const auto client = endpointOf(fd, true);
    const auto server = endpointOf(fd, false);
    if (!client || !server)
        return false;
    const auto owner = peerOwner(*client, *server);
    return owner && *owner == ::geteuid();
}

} // namespace

int ForeignConnections::endNew()
{
    const std::lock_guard lock(m_mutex);
    std::set<ino_t> open;
    int ended = 0;
    for (const int fd : acceptedConnections(m_port)) {
        struct stat status
        {
        };
        if (::fstat(fd, &status) != 0)
            continue;
        open.insert(status.st_ino);
        if (m_seen.count(status.st_ino) == 0 && !ownConnection(fd) &&
            ::shutdown(fd, SHUT_RDWR) == 0)
            ++ended;
    }
    m_seen.swap(open);
    return ended;
}

} // namespace mirel::siteserver
