// Peers that send without end: the client stops at its caps (256 KiB of header block,
// 64 MiB of body) with an error, its memory stays bounded, and it ends quickly.
#include "net/ResponseReader.h"

#include "HostileFixture.h"

using namespace mirel;
using namespace mirel::test;

namespace {

const QByteArray kBlock(64 * 1024, 'x');

#if defined(__SANITIZE_ADDRESS__)
#define MIREL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIREL_ASAN 1
#endif
#endif

// Under AddressSanitizer freed blocks stay resident in its quarantine (256 MiB by default).
// Its checks also make the client's own work several times slower.
#ifdef MIREL_ASAN
constexpr long kQuarantineMiB = 256;
constexpr double kSlowdown = 8;
#else
constexpr long kQuarantineMiB = 0;
constexpr double kSlowdown = 1;
#endif

// The peak resident size may grow by the body cap and the buffer's headroom, no more.
constexpr long kMaxGrowthMiB = 3 * (kMaxBody >> 20) + kQuarantineMiB;

} // namespace

TEST_F(HostilePeer, EndlessHeaderBlock)
{
    server.enqueue(Reply("HTTP/1.1 200 OK\r\n").sendForever("X-Filler: abcdefghijklmnop\r\n"));
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, QStringLiteral("Response header block larger than 262144 bytes."));
    EXPECT_LT(out.seconds, 5.0);
}

TEST_F(HostilePeer, EndlessHeaderLine)
{
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nX-Long: ").sendForever(kBlock));
    EXPECT_EQ(run([&] { client.Get(url()); }).message, QStringLiteral("Max line length exceeded."));
}

TEST_F(HostilePeer, EndlessStatusLine)
{
    server.enqueue(Reply().sendForever(kBlock));
    EXPECT_EQ(run([&] { client.Get(url()); }).message, QStringLiteral("Max line length exceeded."));
}

TEST_F(HostilePeer, EndlessBodyInEveryFraming)
{
    const QByteArray chunk = "10000\r\n" + kBlock + "\r\n";
    const struct
    {
        const char *name;
        Reply reply;
    } rows[] = {
        {"until close", Reply("HTTP/1.1 200 OK\r\n\r\n").sendForever(kBlock)},
        {"chunked",
         Reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n").sendForever(chunk)},
        {"huge length",
         Reply("HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n").sendForever(kBlock)},
        {"error body", Reply("HTTP/1.1 500 Oops\r\n\r\n").sendForever(kBlock)},
    };
    const long before = peakRssMiB();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        server.enqueue(row.reply);
        const Outcome out = run([&] { client.Get(url()); });
        EXPECT_EQ(out.message, QStringLiteral("Response body larger than 67108864 bytes."));
        EXPECT_LT(out.seconds, 20.0);
        EXPECT_FALSE(client.Connected());
    }
    EXPECT_LT(peakRssMiB() - before, kMaxGrowthMiB);
}

TEST_F(HostilePeer, TenThousandHeaderLines)
{
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
    for (int i = 0; i < 10000; ++i)
        head += "X-" + QByteArray::number(i) + ": v\r\n";
    server.reply(head + "\r\nok");
    const Outcome out = run([&] { EXPECT_EQ(client.Get(url()), "ok"); });
    EXPECT_EQ(out.message, QStringLiteral("<no error>"));
    EXPECT_LT(out.seconds, 2.0);
    EXPECT_EQ(client.Response().RawHeaders.size(), 10001);
}

TEST_F(HostilePeer, TenThousandCookies)
{
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
    for (int i = 0; i < 10000; ++i)
        head += "Set-Cookie: c" + QByteArray::number(i) + "=v\r\n";
    server.reply(head + "\r\nok");
    const Outcome out = run([&] { EXPECT_EQ(client.Get(url()), "ok"); });
    EXPECT_EQ(out.message, QStringLiteral("<no error>"));
    EXPECT_LT(out.seconds, 5.0);
}

// Interim answers full of cookies (empty values: filed, never sent back), as many as the
// caps let through: the call ends well within its bound, and a later one that files
// 9,000 more costs no more for what the store already holds.
TEST_F(HostilePeer, CookieFloodInContinueAnswers)
{
    constexpr int kPerHead = 9000;
    const auto heads = [](int first, int count) {
        QByteArray bytes;
        for (int head = 0; head < count; ++head) {
            bytes += "HTTP/1.1 100 Continue\r\n";
            for (int i = 0; i < kPerHead; ++i)
                bytes += "Set-Cookie: c" + QByteArray::number(first++) + "=\r\n";
            bytes += "\r\n";
        }
        return bytes;
    };
    server.reply(heads(0, client.kMaxInterimResponses) + kOk);
    const Outcome flood = run([&] { EXPECT_EQ(client.Get(url()), "ok"); });
    EXPECT_EQ(flood.message, QStringLiteral("<no error>"));
    EXPECT_LT(flood.seconds, 10.0 * kSlowdown); // the call's bound is 90 s

    server.reply(heads(client.kMaxInterimResponses * kPerHead, 1) + kOk);
    const Outcome later = run([&] { EXPECT_EQ(client.Get(url()), "ok"); });
    EXPECT_EQ(later.message, QStringLiteral("<no error>"));
    EXPECT_LT(later.seconds, 1.0 * kSlowdown);
    EXPECT_EQ(client.CookieManager()->domains().value(0).cookies.size(),
              (client.kMaxInterimResponses + 1) * kPerHead);
}

TEST_F(HostilePeer, ContinueForever)
{
    server.enqueue(Reply().sendForever("HTTP/1.1 100 Continue\r\nSet-Cookie: a=1\r\n\r\n"));
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, QStringLiteral("More than 100 interim responses."));
    EXPECT_LT(out.seconds, 5.0);
    EXPECT_FALSE(client.Connected());
}

TEST_F(HostilePeer, AFewContinuesBeforeTheAnswer)
{
    server.reply("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n" + kOk);
    EXPECT_EQ(client.Get(url()), "ok");
}

TEST_F(HostilePeer, RedirectsInALoop)
{
    client.HandleRedirects = true;
    for (int i = 0; i < client.RedirectMaximum; ++i)
        server.reply("HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n");
    const Outcome out = run([&] { EXPECT_EQ(client.Get(url("/loop")), QByteArray()); });
    EXPECT_EQ(out.message, QStringLiteral("<no error>"));
    EXPECT_EQ(client.RedirectCount(), client.RedirectMaximum);
    EXPECT_EQ(server.requests().size(), client.RedirectMaximum);
}

TEST_F(HostilePeer, RedirectLoopWithoutFollowing)
{
    server.reply("HTTP/1.1 301 Moved\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(run([&] { client.Get(url("/loop")); }).message, QStringLiteral("HTTP/1.1 301 Moved"));
}
