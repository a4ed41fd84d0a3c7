// Client behaviour across calls: connections, redirections, errors, time-limits, cookies.
#include "net/HttpClient.h"
#include "net/HttpErrors.h"
#include "net/SocketErrors.h"

#include "ClientFixture.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace mirel;
using mirel::test::Reply;
using mirel::test::ScriptedServer;

namespace {

using HttpClientTest = mirel::test::ClientFixture;

const QByteArray kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Exception &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST_F(HttpClientTest, StartingValues)
{
    EXPECT_TRUE(client.AllowCookies);
    EXPECT_FALSE(client.HandleRedirects);
    EXPECT_EQ(client.RedirectMaximum, 15);
    EXPECT_EQ(client.HTTPOptions, THttpOptions(hoEncodeFormValues));
    EXPECT_EQ(client.ProtocolVersion, pv1_1);
    EXPECT_EQ(client.Request.ContentLength, -1);
    EXPECT_EQ(client.CookieManager(), nullptr);
}

TEST_F(HttpClientTest, GetReusesKeptConnectionAndPostOpensNewOne)
{
    server.reply(kOk);
    server.reply(kOk);
    server.reply("HTTP/1.0 200 OK\r\nContent-Length: 2\r\nConnection: keep-alive\r\n\r\nok");
    EXPECT_EQ(client.Get(url("/1")), "ok");
    EXPECT_EQ(client.Get(url("/2")), "ok");
    EXPECT_EQ(server.connectionCount(), 1);
    QList<QByteArray> fields{"a=1"};
    EXPECT_EQ(client.Post(url("/3"), fields), "ok");
    ASSERT_TRUE(server.waitForRequests(3));
    EXPECT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(client.ProtocolVersion, pv1_1); // put back after the POST
}

TEST_F(HttpClientTest, FieldsPersistIntoLaterGet)
{
    server.reply("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
    server.reply(kOk);
    client.Request.AcceptLanguage = "zh-cn";
    client.Request.CacheControl = "no-cache";
    QList<QByteArray> fields;
    EXPECT_EQ(client.Post(url("/p"), fields), "");
    EXPECT_EQ(client.Get(url("/g")), "ok");
    const QList<QByteArray> requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_TRUE(requests[0].contains("Content-Length: 0\r\n"));
    EXPECT_TRUE(requests[0].endsWith("\r\n\r\n"));
    EXPECT_EQ(requests[1], "GET /g HTTP/1.1\r\n"
                           "Connection: keep-alive\r\n"
                           "Content-Type: application/x-www-form-urlencoded\r\n"
                           "Cache-control: no-cache\r\n"
                           "Host: 127.0.0.1:" +
                               QByteArray::number(server.port()) +
                               "\r\n"
                               "Accept: text/html, */*\r\n"
                               "Accept-Encoding: identity\r\n"
                               "Accept-Language: zh-cn\r\n"
                               "User-Agent: Mozilla/3.0 (compatible; Mirel HTTP)\r\n\r\n");
}

TEST_F(HttpClientTest, UntilCloseBodyOnKeptConnection)
{
    server.enqueue(Reply("HTTP/1.1 200 OK\r\n\r\n")
                       .pause(20)
                       .send("part one, ")
                       .pause(20)
                       .send("part two")
                       .close());
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/a")), "part one, part two");
    EXPECT_EQ(client.Get(url("/b")), "ok");
    EXPECT_EQ(server.connectionCount(), 2);
}

TEST_F(HttpClientTest, NoContentReturnsAtOnce)
{
    server.enqueue(Reply("HTTP/1.1 204 No Content\r\n\r\n").hang());
    EXPECT_EQ(client.Get(url("/n")), "");
}

TEST_F(HttpClientTest, ProtocolErrorKeepsCookies)
{
    server.reply("HTTP/1.1 404 Not Found\r\nSet-Cookie: seen=1\r\nContent-Length: 4\r\n\r\nnope");
    server.reply(kOk);
    try {
        client.Get(url("/missing"));
        FAIL() << "no error";
    } catch (const EHttpProtocolError &e) {
        EXPECT_EQ(e.message(), u"HTTP/1.1 404 Not Found"_qs);
        EXPECT_EQ(exceptionReportText(e.message()), u"HTTP/1.1 404 Not Found."_qs);
        EXPECT_EQ(e.errorCode(), 404);
        EXPECT_EQ(e.errorBody(), "nope");
    }
    client.Get(url("/next"));
    EXPECT_TRUE(server.requests().last().contains("\r\nCookie: seen=1\r\n"));
}

TEST_F(HttpClientTest, RedirectWithoutHandlingFails)
{
    server.reply("HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }), u"HTTP/1.1 302 Found"_qs);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(HttpClientTest, RedirectMaximumEndsWithEmptyBody)
{
    client.HandleRedirects = true;
    for (int i = 0; i < 15; ++i)
        server.reply("HTTP/1.1 301 Moved\r\nLocation: /r" + QByteArray::number(i) +
                     "\r\nContent-Length: 3\r\n\r\nold");
    EXPECT_EQ(client.Get(url("/start")), "");
    EXPECT_EQ(server.requests().size(), 15);
    EXPECT_EQ(client.RedirectCount(), 15);
}

TEST_F(HttpClientTest, RedirectCarriesCookiesOfTheNewAddress)
{
    client.HandleRedirects = true;
    server.reply("HTTP/1.1 302 Found\r\nSet-Cookie: s=1; path=/in/\r\nLocation: /in/page\r\n"
                 "Content-Length: 0\r\n\r\n");
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/out")), "ok");
    const QList<QByteArray> requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_FALSE(requests[0].contains("Cookie:"));
    EXPECT_TRUE(requests[1].contains("\r\nCookie: s=1\r\n"));
}

TEST_F(HttpClientTest, RedirectToHttpsOrUnknownScheme)
{
    client.HandleRedirects = true;
    server.reply("HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1/\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }),
              u"Secure connections (HTTPS) are not supported"_qs);
    server.reply("HTTP/1.1 302 Found\r\nLocation: ftp://127.0.0.1/\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }), u"Unknown Protocol"_qs);
}

TEST_F(HttpClientTest, RedirectTargetWithCrOrNulFailsTheCall)
{
    client.HandleRedirects = true;
    for (const QByteArray &target : {QByteArray("/x\rInjected: 1"), QByteArray("/x\0y", 4)}) {
        server.reply("HTTP/1.1 302 Found\r\nLocation: " + target + "\r\nContent-Length: 0\r\n\r\n");
        EXPECT_EQ(messageOf([&] { client.Get(url("/")); }), u"HTTP/1.1 302 Found"_qs);
        EXPECT_FALSE(client.Connected());
    }
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/after")), "ok");
    const QList<QByteArray> requests = server.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_TRUE(requests[2].startsWith("GET /after HTTP/1.1\r\n"));
}

TEST_F(HttpClientTest, BasicTraceAfter401)
{
    server.reply("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"
                 "Content-Length: 0\r\n\r\n");
    server.reply(kOk);
    EXPECT_EQ(messageOf([&] { client.Get(url("/a")); }), u"HTTP/1.1 401 Unauthorized"_qs);
    client.Get(url("/b"));
    EXPECT_TRUE(server.requests().last().contains("\r\nAuthorization: Basic Og==\r\n"));
}

TEST_F(HttpClientTest, PeerClosesBeforeStatusLine)
{
    server.enqueue(Reply().close());
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }), u"Connection Closed Gracefully."_qs);
    EXPECT_FALSE(client.Connected());
}

TEST_F(HttpClientTest, SilentPeerTimesOut)
{
    client.ReadTimeoutMs = 200;
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc").hang());
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }),
              u"Socket Error # 10060\r\nConnection timed out."_qs);
    EXPECT_FALSE(client.Connected());
}

TEST_F(HttpClientTest, ConversionErrorFromSetCookie2FailsCall)
{
    server.reply("HTTP/1.1 200 OK\r\nSet-Cookie: first=1\r\nSet-Cookie2: b=2; Port=\"8o\"\r\n"
                 "Content-Length: 0\r\n\r\n");
    EXPECT_EQ(messageOf([&] { client.Get(url("/")); }), u"'8o' is not a valid integer value"_qs);
    ASSERT_NE(client.CookieManager(), nullptr);
    EXPECT_EQ(client.CookieManager()->CookieValue("127.0.0.1", "/"), "first=1");
}

TEST(HttpClientSocket, RefusedAndUnknownHost)
{
    // A port that was just free: nothing listens there.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), len), 0);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    ::close(fd);
    THttpClient client;
    EXPECT_EQ(messageOf([&] {
                  client.Get("http://127.0.0.1:" + QByteArray::number(ntohs(addr.sin_port)) + "/");
              }),
              u"Socket Error # 10061\r\nConnection refused."_qs);
    EXPECT_EQ(messageOf([&] { client.Get("http://no-such-host.invalid/"); }),
              u"Socket Error # 11001\r\nHost not found."_qs);
}

TEST(HttpClientSocket, ConnectTimeLimit)
{
    // A listener whose accept queue is full drops further connection attempts, so the
    // client's connect never completes.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&addr), len), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&addr), &len);
    std::vector<int> fillers;
    for (int i = 0; i < 8; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(fd, reinterpret_cast<sockaddr *>(&addr), len);
        fillers.push_back(fd);
    }
    THttpClient client;
    client.ConnectTimeoutMs = 300;
    const QByteArray address = "http://127.0.0.1:" + QByteArray::number(ntohs(addr.sin_port)) + "/";
    EXPECT_EQ(messageOf([&] { client.Get(address); }),
              u"Socket Error # 10060\r\nConnection timed out."_qs);
    for (const int fd : fillers)
        ::close(fd);
    ::close(listener);
}

TEST(SocketErrors, TableAndErrnoMapping)
{
    EXPECT_EQ(socketErrorCodeForErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(socketErrorCodeForErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(socketErrorCodeForErrno(ECONNRESET), 10054);
    EXPECT_EQ(socketErrorCodeForErrno(ENETUNREACH), 10051);
    EXPECT_EQ(socketErrorCodeForErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(socketErrorText(10066), u"Directory not empty"_qs);
    EXPECT_EQ(socketError(12345).message(), u"Socket Error # 12345\r\n"_qs);
}
