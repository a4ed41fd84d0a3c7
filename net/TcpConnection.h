#pragma once

#include "net/ByteSource.h"
#include "net/NameLookup.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <memory>

namespace mirel {

// One TCP connection. Failures raise ESocketError with the mapped error numbers.
class TcpConnection : public ByteSource
{
public:
    static constexpr qsizetype kBlockSize = 32768;

    using Clock = std::chrono::steady_clock;

    // Resolves host through resolver (a numeric address is used as it is) and connects
    // to port, trying its addresses in order. Lookup and connects share the time up to
    // connectDeadline: each address gets an equal share of what is left, the last one
    // all of it. Past the deadline the step fails with 10060; otherwise the last
    // address's failure is reported.
    static std::unique_ptr<TcpConnection> open(const QByteArray &host, quint16 port,
                                               Clock::time_point connectDeadline,
                                               const NameResolver &resolver = platformResolve);
    ~TcpConnection() override;
    TcpConnection(const TcpConnection &) = delete;
    TcpConnection &operator=(const TcpConnection &) = delete;

    // A point in time after which send and receive fail with 10060 however the peer
    // paces its bytes; each wait is cut to end there. None by default.
    void setDeadline(Clock::time_point deadline) { m_deadline = deadline; }

    // Sends all bytes in blocks of up to kBlockSize; waits at most timeoutMs per block.
    void send(QByteArrayView bytes, int timeoutMs);
    qsizetype receive(char *buffer, qsizetype maxBytes, int timeoutMs) override;
    // True when the peer has closed (or reset) the connection, tested without waiting.
    bool peerClosed() const;
    // True when anything can be read now without waiting: bytes, a close or an error.
    bool readable() const;

    const QByteArray &host() const { return m_host; }
    quint16 port() const { return m_port; }

private:
    TcpConnection(int fd, QByteArray host, quint16 port);
    int m_fd;
    QByteArray m_host;
    quint16 m_port;
    Clock::time_point m_deadline = Clock::time_point::max();
};

} // namespace mirel
