#include "sites/server/AcceptedConnections.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>

namespace mirel::siteserver {

namespace {

// Whether fd is a connected (not listening) socket whose own end is 127.0.0.1:port.
bool acceptedOn(int fd, int port)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &length) != 0 ||
        local.sin_family != AF_INET || ntohs(local.sin_port) != port ||
        local.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
        return false;
    int listening = 0;
    length = sizeof listening;
    return ::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length) == 0 && !listening;
}

} // namespace

std::vector<int> acceptedConnections(int port)
{
    std::vector<int> found;
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir("/proc/self/fd"), ::closedir);
    if (!folder || port <= 0)
        return found;
    while (const dirent *entry = ::readdir(folder.get())) {
        char *end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == ::dirfd(folder.get()))
            continue;
        if (acceptedOn(int(fd), port))
            found.push_back(int(fd));
    }
    return found;
}

int endAcceptedConnections(int port)
{
    int ended = 0;
    for (const int fd : acceptedConnections(port))
        if (::shutdown(fd, SHUT_RD) == 0)
            ++ended;
    return ended;
}

} // namespace mirel::siteserver
