// One case per rule of a whole call: the method and version a request goes out with,
// the header values the client adds, cookies of interim answers, the keep-alive verdict
// and the time a redirection answer may take.
#include "net/HttpClient.h"
#include "net/HttpErrors.h"

#include "ClientFixture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Reply;
using mirel::test::ScriptedServer;

namespace {

const QByteArray kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

class HttpClientRules : public mirel::test::ClientFixture
{
protected:
    QByteArray post(const QByteArray &path)
    {
        QList<QByteArray> fields{"q=1"};
        return client.Post(url(path), fields);
    }
    QByteArray requestLine(qsizetype index) const
    {
        const QByteArray request = server.requests().value(index);
        return request.left(request.indexOf("\r\n"));
    }
};

QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Exception &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

struct RedirectRow
{
    int code;
    QByteArray method;
    bool bodyKept;
};

void PrintTo(const RedirectRow &row, std::ostream *os)
{
    *os << row.code;
}

class RedirectOfAPost : public HttpClientRules, public testing::WithParamInterface<RedirectRow>
{
};

} // namespace

TEST_P(RedirectOfAPost, FollowsWithTheMethodOfItsCode)
{
    const RedirectRow &row = GetParam();
    client.HandleRedirects = true;
    server.reply("HTTP/1.0 " + QByteArray::number(row.code) +
                 " Moved\r\nLocation: /next\r\nContent-Length: 0\r\n\r\n");
    server.reply(kOk);
    EXPECT_EQ(post("/form"), "ok");
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(requestLine(1), row.method + " /next HTTP/1.0");
    const QByteArray again = server.requests()[1];
    EXPECT_EQ(again.endsWith("\r\n\r\nq=1"), row.bodyKept);
    EXPECT_EQ(again.contains("\r\nContent-Length: 3\r\n"), row.bodyKept);
}

INSTANTIATE_TEST_SUITE_P(Codes, RedirectOfAPost,
                         testing::Values(RedirectRow{301, "POST", true},
                                         RedirectRow{302, "GET", false},
                                         RedirectRow{303, "GET", false},
                                         RedirectRow{307, "POST", true}),
                         [](const testing::TestParamInfo<RedirectRow> &info) {
                             return "Code" + std::to_string(info.param.code);
                         });

TEST_F(HttpClientRules, PostReplacesTextHtmlContentTypeInAnyCase)
{
    const QByteArray sent[][2] = {{"text/html", "application/x-www-form-urlencoded"},
                                  {"TEXT/Html", "application/x-www-form-urlencoded"},
                                  {"", "application/x-www-form-urlencoded"},
                                  {"text/plain", "text/plain"}};
    for (const auto &[set, expected] : sent) {
        client.Request.ContentType = set;
        server.reply(kOk);
        post("/p");
        EXPECT_TRUE(server.requests().last().contains("\r\nContent-Type: " + expected + "\r\n"))
            << set.constData();
    }
}

TEST_F(HttpClientRules, KeepProtocolVersionPostsWithTheClientsVersion)
{
    client.HTTPOptions |= hoKeepProtocolVersion;
    server.reply(kOk);
    post("/p");
    EXPECT_EQ(requestLine(0), "POST /p HTTP/1.1");
    EXPECT_FALSE(server.requests()[0].contains("Connection:"));
}

TEST_F(HttpClientRules, IdentityIsAppendedToAGivenAcceptEncodingOnce)
{
    client.Request.AcceptEncoding = "gzip";
    server.reply(kOk);
    server.reply(kOk);
    client.Get(url("/a"));
    client.Get(url("/b"));
    for (const QByteArray &request : server.requests())
        EXPECT_TRUE(request.contains("\r\nAccept-Encoding: gzip, identity\r\n")) << request.data();
}

TEST_F(HttpClientRules, CookiesOfAContinueAnswerAreFiled)
{
    server.reply("HTTP/1.1 100 Continue\r\nSet-Cookie: early=1\r\n\r\n" + kOk);
    server.reply(kOk);
    client.Get(url("/a"));
    client.Get(url("/b"));
    EXPECT_TRUE(server.requests().last().contains("\r\nCookie: early=1\r\n"));
}

TEST_F(HttpClientRules, KeepAliveVerdictFollowsTheCallsVersionNotTheStatusLine)
{
    // A GET goes as 1.1: an HTTP/1.0 answer without Connection keeps the connection.
    server.reply("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    server.reply(kOk);
    client.Get(url("/a"));
    EXPECT_TRUE(client.Response().KeepAlive);
    client.Get(url("/b"));
    EXPECT_EQ(server.connectionCount(), 1);
    // A POST goes as 1.0: an HTTP/1.1 answer without Connection closes it.
    server.reply(kOk);
    server.reply(kOk);
    post("/p");
    EXPECT_FALSE(client.Response().KeepAlive);
    client.Get(url("/c"));
    EXPECT_EQ(server.connectionCount(), 3);
}

TEST_F(HttpClientRules, NotModifiedIsARedirectionOnlyWithALocation)
{
    client.HandleRedirects = true;
    // No body is awaited: the connection stays open and silent after the head.
    server.enqueue(Reply("HTTP/1.1 304 Not Modified\r\nConnection: close\r\n\r\n").hang());
    EXPECT_EQ(messageOf([&] { client.Get(url("/a")); }), u"HTTP/1.1 304 Not Modified"_qs);
    EXPECT_EQ(client.RedirectCount(), 0);

    server.reply("HTTP/1.1 304 Not Modified\r\nLocation: /b\r\nContent-Length: 0\r\n\r\n");
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/a")), "ok");
    EXPECT_EQ(requestLine(2), "GET /b HTTP/1.1");
}

TEST_F(HttpClientRules, FollowedRedirectsBodyIsDroppedAfterFourSeconds)
{
    client.HandleRedirects = true;
    client.ReadTimeoutMs = 30000;
    server.enqueue(
        Reply("HTTP/1.1 301 Moved\r\nLocation: /b\r\nContent-Length: 10\r\n\r\nabc").hang());
    server.reply(kOk);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(client.Get(url("/a")), "ok");
    EXPECT_GE(clock.elapsed(), 3900);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(server.connectionCount(), 2);
}

TEST_F(HttpClientRules, UnfollowedRedirectFailsAtOnceAndItsBodyIsNotReadLater)
{
    client.ReadTimeoutMs = 30000;
    server.enqueue(Reply("HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\nHTTP/1.1 200 OK\r\n").hang());
    server.reply(kOk);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(messageOf([&] { client.Get(url("/a")); }), u"HTTP/1.1 302 Found"_qs);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Get(url("/b")), "ok");
    EXPECT_EQ(server.connectionCount(), 2);
}
