// The connect step under its bounds: a name lookup that does not end, and a host whose
// addresses all let connection attempts go unanswered, end at the connect limit or at the
// call's, whichever comes first; the addresses of a host share that time.
#include "net/HttpClient.h"
#include "net/HttpErrors.h"

#include "ScriptedServer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

using namespace mirel;
using mirel::test::ScriptedServer;

namespace {

const QString kTimedOut = QStringLiteral("Socket Error # 10060\r\nConnection timed out.");

SocketAddress loopback(quint16 port)
{
    SocketAddress a;
    auto *in = reinterpret_cast<sockaddr_in *>(&a.address);
    in->sin_family = AF_INET;
    in->sin_port = htons(port);
    in->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.length = sizeof(sockaddr_in);
    return a;
}

// A listening socket on 127.0.0.1 whose backlog is full: a connection attempt to it is
// never answered.
class SilentListener
{
public:
    SilentListener()
    {
        SocketAddress a = loopback(0);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a.address), a.length);
        ::listen(m_fd, 0);
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a.address), &a.length);
        m_port = ntohs(reinterpret_cast<sockaddr_in *>(&a.address)->sin_port);
        for (int &filler : m_fillers) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr *>(&a.address), a.length);
        }
    }
    ~SilentListener()
    {
        for (const int filler : m_fillers)
            ::close(filler);
        ::close(m_fd);
    }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    quint16 port() const { return m_port; }

private:
    int m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int m_fillers[8] = {};
    quint16 m_port = 0;
};

// Holds a name lookup until opened (or 10 s have passed).
struct Gate
{
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;

    void wait()
    {
        std::unique_lock lock(mutex);
        opened.wait_for(lock, std::chrono::seconds(10), [this] { return open; });
    }
    void release()
    {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

struct BoundRow
{
    const char *name;
    int connectMs;
    int callMs;
    int boundMs; // when the call must fail
};

class ConnectBound : public testing::TestWithParam<BoundRow>
{
protected:
    // The time a Get to a host the resolver knows took to fail with 10060.
    qint64 failingGet(NameResolver resolver)
    {
        THttpClient client;
        client.ConnectTimeoutMs = GetParam().connectMs;
        client.CallTimeoutMs = GetParam().callMs;
        client.setNameResolver(std::move(resolver));
        QElapsedTimer clock;
        clock.start();
        try {
            client.Get("http://host.test:80/");
            ADD_FAILURE() << "no error";
        } catch (const ESocketError &e) {
            EXPECT_EQ(e.message(), kTimedOut);
        }
        return clock.elapsed();
    }
    void expectWithinBound(qint64 elapsedMs) const
    {
        EXPECT_GE(elapsedMs, GetParam().boundMs - 50);
        EXPECT_LT(elapsedMs, GetParam().boundMs + 700);
    }
};

} // namespace

TEST_P(ConnectBound, SlowNameLookup)
{
    const auto gate = std::make_shared<Gate>();
    expectWithinBound(failingGet([gate](const QByteArray &, quint16) {
        gate->wait();
        return std::vector<SocketAddress>{loopback(9)};
    }));
    // The lookup left behind ends on its own and lets go of what it holds.
    gate->release();
    QElapsedTimer clock;
    clock.start();
    while (gate.use_count() > 1 && clock.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(gate.use_count(), 1);
}

TEST_P(ConnectBound, FourSilentAddresses)
{
    const SilentListener silent;
    const quint16 port = silent.port();
    expectWithinBound(failingGet([port](const QByteArray &, quint16) {
        return std::vector<SocketAddress>(4, loopback(port));
    }));
}

INSTANTIATE_TEST_SUITE_P(Limits, ConnectBound,
                         testing::Values(BoundRow{"ConnectLimit", 400, 90000, 400},
                                         BoundRow{"CallBound", 30000, 500, 500}),
                         [](const testing::TestParamInfo<BoundRow> &info) {
                             return std::string(info.param.name);
                         });

TEST(ConnectStep, SilentAddressesLeaveTimeForTheLastOne)
{
    const SilentListener silent;
    ScriptedServer server;
    server.reply("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    THttpClient client;
    client.ConnectTimeoutMs = 800;
    client.setNameResolver([&](const QByteArray &, quint16) {
        return std::vector<SocketAddress>{loopback(silent.port()), loopback(silent.port()),
                                          loopback(silent.port()), loopback(server.port())};
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(client.Get("http://host.test/"), "ok");
    EXPECT_LT(clock.elapsed(), 800);
    EXPECT_TRUE(server.requests().value(0).contains("\r\nHost: host.test\r\n"));
}

TEST(ConnectStep, NameThroughThePlatformResolver)
{
    ScriptedServer server;
    server.reply("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    THttpClient client;
    client.ConnectTimeoutMs = 5000;
    const QByteArray port = QByteArray::number(server.port());
    EXPECT_EQ(client.Get("http://localhost:" + port + "/"), "ok");
    EXPECT_TRUE(server.requests().value(0).contains("\r\nHost: localhost:" + port + "\r\n"));
}
