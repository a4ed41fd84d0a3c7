#include "sites/http/ConnectProbe.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mirel::siteserver {

namespace {

// A socket closed when it goes out of scope.
class Socket
{
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

enum class Attempt { Connected, Refused, TimedOut };

Attempt connectOnce(const std::string &address, int port, Clock::time_point deadline,
                    std::string &why)
{
    std::string host = address;
    if (host.size() > 1 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        why = "not an address: " + address;
        return Attempt::Refused;
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, ::freeaddrinfo);
    const Socket socket(
        ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0) {
        why = std::strerror(errno);
        return Attempt::Refused;
    }
    if (::connect(socket.fd(), found->ai_addr, found->ai_addrlen) == 0)
        return Attempt::Connected;
    if (errno != EINPROGRESS) {
        why = std::strerror(errno);
        return Attempt::Refused;
    }
    pollfd watched{socket.fd(), POLLOUT, 0};
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return Attempt::TimedOut;
        const int ready = ::poll(&watched, 1, int(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) {
            why = std::strerror(errno);
            return Attempt::Refused;
        }
        if (ready > 0)
            break;
    }
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error == 0)
        return Attempt::Connected;
    why = std::strerror(error);
    return Attempt::Refused;
}

} // namespace

std::optional<ProbeFailure> probeConnection(const std::vector<std::string> &addresses, int port,
                                            Clock::time_point deadline)
{
    ProbeFailure failure{false, "no address"};
    for (const std::string &address : addresses) {
        std::string why;
        switch (connectOnce(address, port, deadline, why)) {
        case Attempt::Connected:
            return std::nullopt;
        case Attempt::TimedOut:
            return ProbeFailure{true, "no connection to " + address + " in time"};
        case Attempt::Refused:
            failure.detail = "no connection to " + address + ": " + why;
            break;
        }
    }
    return failure;
}

int portOf(const std::string &origin)
{
    const size_t hostStart = origin.find("://");
    if (hostStart == std::string::npos)
        return 0;
    const size_t close = origin.find(']', hostStart);
    const size_t colon = origin.find(':', close == std::string::npos ? hostStart + 3 : close);
    if (colon == std::string::npos)
        return origin.compare(0, hostStart, "https") == 0 ? 443 : 80;
    int port = 0;
    const char *end = origin.data() + origin.size();
    const auto [last, error] = std::from_chars(origin.data() + colon + 1, end, port);
    return error == std::errc() && last == end && port > 0 && port < 65536 ? port : 0;
}

} // namespace mirel::siteserver
