#include "net/TcpConnection.h"

#include "net/SocketErrors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace mirel {

namespace {

class FdGuard
{
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    ~FdGuard()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdGuard(const FdGuard &) = delete;
    FdGuard &operator=(const FdGuard &) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// Waits for events on fd; false on time-out. Restarts after signals.
bool waitFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            throw socketErrorFromErrno(errno);
    }
}

// The wait allowed now: timeoutMs (negative: without limit) cut to what is left before
// the deadline; a deadline that has passed fails with 10060.
int waitBudget(int timeoutMs, TcpConnection::Clock::time_point deadline)
{
    if (deadline == TcpConnection::Clock::time_point::max())
        return timeoutMs;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - TcpConnection::Clock::now())
            .count();
    if (left <= 0)
        throw socketError(kConnectionTimedOut);
    const int leftMs = int(std::min<long long>(left, INT_MAX));
    return timeoutMs < 0 ? leftMs : std::min(timeoutMs, leftMs);
}

int connectOne(const SocketAddress &to, int timeoutMs)
{
    FdGuard fd(::socket(to.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0)
        throw socketErrorFromErrno(errno);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr *>(&to.address), to.length) != 0) {
        if (errno != EINPROGRESS)
            throw socketErrorFromErrno(errno);
        if (!waitFor(fd.get(), POLLOUT, timeoutMs))
            throw socketError(kConnectionTimedOut);
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &len) != 0)
            throw socketErrorFromErrno(errno);
        if (err != 0)
            throw socketErrorFromErrno(err);
    }
    const int one = 1;
    ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd.release();
}

} // namespace

std::unique_ptr<TcpConnection> TcpConnection::open(const QByteArray &host, quint16 port,
                                                   Clock::time_point connectDeadline,
                                                   const NameResolver &resolver)
{
    const std::vector<SocketAddress> addresses = lookUpName(host, port, connectDeadline, resolver);
    for (size_t i = 0;; ++i) {
        const int left = waitBudget(-1, connectDeadline); // negative: no deadline
        const bool last = i + 1 == addresses.size();
        const int share = left < 0 || last ? left : std::max(1, left / int(addresses.size() - i));
        try {
            const int fd = connectOne(addresses[i], share);
            return std::unique_ptr<TcpConnection>(new TcpConnection(fd, host, port));
        } catch (const ESocketError &) {
            if (last)
                throw;
        }
    }
}

TcpConnection::TcpConnection(int fd, QByteArray host, quint16 port)
    : m_fd(fd), m_host(std::move(host)), m_port(port)
{
}

TcpConnection::~TcpConnection()
{
    ::close(m_fd);
}

void TcpConnection::send(QByteArrayView bytes, int timeoutMs)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const int budget = waitBudget(timeoutMs, m_deadline);
        const size_t block = size_t(std::min(kBlockSize, bytes.size() - sent));
        const ssize_t n = ::send(m_fd, bytes.data() + sent, block, MSG_NOSIGNAL);
        if (n >= 0) {
            sent += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw socketErrorFromErrno(errno);
        if (!waitFor(m_fd, POLLOUT, budget))
            throw socketError(kConnectionTimedOut);
    }
}

qsizetype TcpConnection::receive(char *buffer, qsizetype maxBytes, int timeoutMs)
{
    const size_t block = size_t(std::min(kBlockSize, maxBytes));
    for (;;) {
        const int budget = waitBudget(timeoutMs, m_deadline);
        const ssize_t n = ::recv(m_fd, buffer, block, 0);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw socketErrorFromErrno(errno);
        if (!waitFor(m_fd, POLLIN, budget))
            throw socketError(kConnectionTimedOut);
    }
}

bool TcpConnection::peerClosed() const
{
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return false;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
        return true;
    char c;
    const ssize_t n = ::recv(m_fd, &c, 1, MSG_PEEK);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

bool TcpConnection::readable() const
{
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && p.revents != 0;
}

} // namespace mirel
