// Peers that are slow, silent or gone: each call ends within the read time-limit with
// the socket error, or with what arrived.
#include "HostileFixture.h"

using namespace mirel;
using namespace mirel::test;

namespace {

const QString kTimedOut = QStringLiteral("Socket Error # 10060\r\nConnection timed out.");

} // namespace

TEST_F(HostilePeer, TrickleOfOneByteASecondHitsTheReadTimeLimit)
{
    client.ReadTimeoutMs = 300;
    Reply trickle;
    for (const char c : QByteArray("HTTP/1.1 200 OK\r\n"))
        trickle.send(QByteArray(1, c)).pause(1000);
    server.enqueue(trickle);
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, kTimedOut);
    EXPECT_LT(out.seconds, 2.0);
}

// Each byte comes well within the read time-limit; the call as a whole still ends, its
// redirection included.
TEST_F(HostilePeer, TrickleWithinEachWaitEndsAtTheCallBound)
{
    client.ReadTimeoutMs = 1000;
    client.CallTimeoutMs = 500;
    client.HandleRedirects = true;
    server.reply("HTTP/1.1 302 Found\r\nLocation: /slow\r\nContent-Length: 0\r\n\r\n");
    Reply trickle;
    for (const char c : QByteArray("HTTP/1.1 200 OK\r\nX-Pad: ") + QByteArray(100, 'x'))
        trickle.send(QByteArray(1, c)).pause(40);
    server.enqueue(trickle);
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, kTimedOut);
    EXPECT_GT(out.seconds, 0.4);
    EXPECT_LT(out.seconds, 1.5);
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(HostilePeer, SteadyTrickleWithinTheTimeLimitIsReadWhole)
{
    client.ReadTimeoutMs = 1000;
    Reply trickle;
    for (const char c : QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc"))
        trickle.send(QByteArray(1, c)).pause(10);
    server.enqueue(trickle);
    EXPECT_EQ(client.Get(url()), "abc");
}

TEST_F(HostilePeer, NeverAnswers)
{
    client.ReadTimeoutMs = 300;
    server.enqueue(Reply().hang());
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, kTimedOut);
    EXPECT_LT(out.seconds, 2.0);
}

TEST_F(HostilePeer, NeverClosesABodyReadUntilClose)
{
    client.ReadTimeoutMs = 300;
    server.enqueue(Reply("HTTP/1.1 200 OK\r\n\r\npartial").hang());
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, kTimedOut);
    EXPECT_LT(out.seconds, 2.0);
}

TEST_F(HostilePeer, NeverSendsTheRestOfAContentLengthBody)
{
    client.ReadTimeoutMs = 300;
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhalf").hang());
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, kTimedOut);
    EXPECT_LT(out.seconds, 2.0);
}

TEST_F(HostilePeer, ClosesBeforeTheStatusLine)
{
    server.enqueue(Reply().close());
    EXPECT_EQ(run([&] { client.Get(url()); }).message,
              QStringLiteral("Connection Closed Gracefully."));
}

TEST_F(HostilePeer, ClosesInsideTheStatusLine)
{
    server.enqueue(Reply("HTTP/1.1 20").close());
    EXPECT_EQ(run([&] { client.Get(url()); }).message,
              QStringLiteral("Connection Closed Gracefully."));
}

TEST_F(HostilePeer, ResetsMidBody)
{
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + QByteArray(500, 'x'))
                       .pause(50)
                       .reset());
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, QStringLiteral("Socket Error # 10054\r\nConnection reset by peer."));
    EXPECT_FALSE(client.Connected());
}
