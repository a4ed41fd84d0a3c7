#include "ScriptedServer.h"

#include <QFile>

#include <algorithm>
#include <memory>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace mirel::test {

Reply &Reply::send(QByteArray bytes)
{
    m_steps.push_back({std::move(bytes), 0});
    return *this;
}

Reply &Reply::pause(int ms)
{
    m_steps.push_back({QByteArray(), ms});
    return *this;
}

Reply &Reply::close()
{
    m_end = End::Close;
    return *this;
}

Reply &Reply::hang()
{
    m_end = End::Hang;
    return *this;
}

Reply &Reply::reset()
{
    m_end = End::Reset;
    return *this;
}

Reply &Reply::sendForever(QByteArray piece)
{
    m_steps.push_back({std::move(piece), 0, true});
    return *this;
}

struct ScriptedServer::Connection
{
    int fd = -1;
    QByteArray pending; // received bytes not yet part of a whole request
    bool mute = false;  // hangs: input is read and dropped, nothing is answered
    ~Connection()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

ScriptedServer::ScriptedServer()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (m_listenFd < 0 || ::bind(m_listenFd, reinterpret_cast<sockaddr *>(&addr), len) != 0 ||
        ::listen(m_listenFd, 16) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&addr), &len) != 0 ||
        ::pipe2(m_wakePipe, O_CLOEXEC) != 0)
        throw std::runtime_error("ScriptedServer: cannot listen on 127.0.0.1");
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] { run(); });
}

ScriptedServer::~ScriptedServer()
{
    const char stop = 'x';
    [[maybe_unused]] const ssize_t n = ::write(m_wakePipe[1], &stop, 1);
    m_thread.join();
    ::close(m_listenFd);
    ::close(m_wakePipe[0]);
    ::close(m_wakePipe[1]);
}

QByteArray ScriptedServer::baseUrl() const
{
    return "http://127.0.0.1:" + QByteArray::number(m_port);
}

void ScriptedServer::enqueue(Reply reply)
{
    const std::lock_guard lock(m_mutex);
    m_replies.push_back(std::move(reply));
}

QList<QByteArray> ScriptedServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

bool ScriptedServer::waitForRequests(int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

bool ScriptedServer::waitForReplies(int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_repliesSent >= count; });
}

int ScriptedServer::connectionCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_connections;
}

// Waits for fd or the stop signal; false when stopping or on time-out.
bool ScriptedServer::waitReadable(int fd, int timeoutMs) const
{
    pollfd p[2] = {{fd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    const int r = ::poll(p, 2, timeoutMs);
    return r > 0 && !(p[1].revents & POLLIN) && p[0].revents != 0;
}

namespace {

qsizetype requestLength(const QByteArray &data)
{
    const qsizetype headEnd = data.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return -1;
    qint64 bodyLength = 0;
    for (const QByteArray &line : data.left(headEnd).split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.toLower().startsWith("content-length:"))
            bodyLength = l.mid(15).trimmed().toLongLong();
    }
    const qsizetype total = headEnd + 4 + bodyLength;
    return data.size() >= total ? total : -1;
}

bool sendAll(int fd, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Sends piece until the peer goes away (false) or stopFd becomes readable (false too).
bool sendForever(int fd, const QByteArray &piece, int stopFd)
{
    if (piece.isEmpty())
        return false;
    qsizetype at = 0;
    for (;;) {
        pollfd p[2] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (p[1].revents & POLLIN)
            return false;
        if (p[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return false;
        const ssize_t n = ::send(fd, piece.constData() + at, size_t(piece.size() - at),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return false;
        at = (at + n) % piece.size();
    }
}

void resetConnection(int fd)
{
    const linger abort{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

} // namespace

bool ScriptedServer::readRequest(Connection &c, QByteArray &request)
{
    for (;;) {
        const qsizetype length = requestLength(c.pending);
        if (length >= 0) {
            request = c.pending.left(length);
            c.pending.remove(0, length);
            return true;
        }
        char buffer[65536];
        const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
        if (n > 0) {
            c.pending.append(buffer, n);
            continue;
        }
        if (!waitReadable(c.fd, -1))
            return false;
    }
}

// Serves one request on c; false when the connection is done with.
bool ScriptedServer::serve(Connection &c)
{
    QByteArray request;
    if (!readRequest(c, request))
        return false;
    Reply reply;
    bool have = false;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.append(request);
        if (m_nextReply < m_replies.size()) {
            reply = m_replies[m_nextReply++];
            have = true;
        }
    }
    m_changed.notify_all();
    if (!have)
        return false;
    for (const Reply::Step &step : reply.steps()) {
        if (step.pauseMs > 0) {
            pollfd p{m_wakePipe[0], POLLIN, 0};
            if (::poll(&p, 1, step.pauseMs) > 0)
                return false; // stopping
        }
        if (step.endless)
            return sendForever(c.fd, step.bytes, m_wakePipe[0]);
        if (!step.bytes.isEmpty() && !sendAll(c.fd, step.bytes))
            return false;
    }
    {
        const std::lock_guard lock(m_mutex);
        ++m_repliesSent;
    }
    m_changed.notify_all();
    if (reply.end() == Reply::End::Reset)
        resetConnection(c.fd);
    if (reply.end() == Reply::End::Close || reply.end() == Reply::End::Reset)
        return false;
    if (reply.end() == Reply::End::Hang)
        c.mute = true;
    return true;
}

void ScriptedServer::run()
{
    std::vector<std::unique_ptr<Connection>> open;
    for (;;) {
        std::vector<pollfd> fds{{m_wakePipe[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        for (const auto &c : open)
            fds.push_back({c->fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents & POLLIN)
            return;
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                // Replies go out as scripted, without waiting to be coalesced.
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                auto c = std::make_unique<Connection>();
                c->fd = fd;
                open.push_back(std::move(c));
                {
                    const std::lock_guard lock(m_mutex);
                    ++m_connections;
                }
                m_changed.notify_all();
            }
        }
        std::vector<Connection *> done;
        for (size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents == 0)
                continue;
            Connection &c = *open[i - 2];
            if (c.mute) {
                char sink[4096];
                if (::recv(c.fd, sink, sizeof sink, MSG_DONTWAIT) == 0)
                    done.push_back(&c);
            } else if (!serve(c)) {
                done.push_back(&c);
            }
        }
        std::erase_if(open, [&](const auto &c) {
            return std::find(done.begin(), done.end(), c.get()) != done.end();
        });
    }
}

QList<QByteArray> HttpFixture::all(const QByteArray &tag) const
{
    QList<QByteArray> texts;
    for (const Section &s : sections) {
        if (s.tag == tag)
            texts.append(s.text);
    }
    return texts;
}

QByteArray HttpFixture::first(const QByteArray &tag) const
{
    const QList<QByteArray> texts = all(tag);
    return texts.isEmpty() ? QByteArray() : texts.first();
}

bool HttpFixture::has(const QByteArray &tag) const
{
    return !all(tag).isEmpty();
}

HttpFixture HttpFixture::load(const QString &path, quint16 port)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read fixture " + path.toStdString());
    QByteArray text = file.readAll();
    text.replace("\r\n", "\n");
    text.replace("%PORT%", QByteArray::number(port));

    HttpFixture fixture;
    bool inSection = false;
    Section current;
    for (const QByteArray &line : text.split('\n')) {
        if (!inSection) {
            if (line.startsWith('<') && !line.startsWith("</")) {
                const qsizetype end = line.indexOf(' ') > 0 ? line.indexOf(' ') : line.indexOf('>');
                current = Section{line.mid(1, end - 1), line, QByteArray()};
                inSection = true;
            }
            continue;
        }
        if (line.trimmed() == "</" + current.tag + ">") {
            if (current.opening.contains("nonewline") && current.text.endsWith("\r\n"))
                current.text.chop(2);
            fixture.sections.append(current);
            inSection = false;
            continue;
        }
        current.text += line + "\r\n";
    }
    return fixture;
}

} // namespace mirel::test
