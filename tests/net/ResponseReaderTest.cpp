// The response reader fed directly from memory: malformed and hostile responses.
#include "net/HttpErrors.h"
#include "net/HttpResponse.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {

struct Read
{
    THttpResponse head;
    QByteArray body;
};

Read readAll(const QByteArray &bytes, qsizetype piece = 7, qint64 bodyLimit = kMaxBody)
{
    MemoryByteSource source(bytes, piece);
    ResponseReader reader(source);
    reader.setBodyLimit(bodyLimit);
    Read r;
    r.head = readResponseHead(reader);
    r.body = readResponseBody(reader, r.head);
    return r;
}

} // namespace

TEST(ResponseHead, StatusCodeAndHeaderValues)
{
    const Read r = readAll("HTTP/1.1 301 Moved\r\n"
                           "location:  /x \r\n"
                           "X-Long: one\r\n"
                           "\ttwo\r\n"
                           "Content-Length: 3\n"
                           "\r\n"
                           "abcdef");
    EXPECT_EQ(r.head.ResponseText, "HTTP/1.1 301 Moved");
    EXPECT_EQ(r.head.ResponseCode, 301);
    EXPECT_EQ(r.head.Location, "/x");
    EXPECT_EQ(r.head.header("x-long"), "one two");
    EXPECT_TRUE(r.head.HasContentLength);
    EXPECT_EQ(r.body, "abc");
}

TEST(ResponseHead, MalformedStatusLines)
{
    EXPECT_EQ(statusCode("HTTP/1.1 abc Bad"), -1);
    EXPECT_EQ(statusCode("HTTP/1.1"), -1);
    EXPECT_EQ(statusCode(""), -1);
    EXPECT_EQ(statusCode("HTTP/1.1 99999999999 Big"), -1);
    EXPECT_EQ(statusCode("HTTP/1.1  404  Not Found"), 404);
}

TEST(ResponseHead, ContentLengthRules)
{
    EXPECT_EQ(contentLengthValue(" 12 "), 12);
    EXPECT_EQ(contentLengthValue("-1"), -1);
    EXPECT_EQ(contentLengthValue("2147483648"), -1); // over 32 bits: absent
    EXPECT_EQ(contentLengthValue("12abc"), -1);
    // An absent length reads until the close.
    EXPECT_EQ(readAll("HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nall of it").body, "all of it");
    EXPECT_EQ(readAll("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\nignored").body, "");
}

TEST(ResponseHead, HugeContentLengthIsNotAllocatedUpFront)
{
    const Read r = readAll("HTTP/1.0 200 OK\r\nContent-Length: 2147483647\r\n\r\nshort");
    EXPECT_EQ(r.body, "short");
    EXPECT_LT(r.body.capacity(), 1 << 20);
}

TEST(ResponseHead, LineLimit)
{
    const QByteArray ok(16384 - 13, 'a');
    EXPECT_EQ(readAll("HTTP/1.1 200 " + ok + "\r\n\r\n").head.ResponseCode, 200);
    EXPECT_EQ(readAll("HTTP/1.1 200 " + ok + "\n\n").head.ResponseCode, 200);
    const QByteArray over(16385 - 13, 'a');
    EXPECT_THROW(readAll("HTTP/1.1 200 " + over + "\r\n\r\n"), EMaxLineLengthExceeded);
    // A line that never ends stops at the limit rather than filling memory.
    EXPECT_THROW(readAll(QByteArray(100000, 'x'), 32768), EMaxLineLengthExceeded);
}

TEST(ResponseHead, HeaderBlockCap)
{
    QByteArray head = "HTTP/1.1 200 OK\r\n";
    while (head.size() <= kMaxHeaderBlock)
        head += "X-Fill: " + QByteArray(1000, 'f') + "\r\n";
    EXPECT_THROW(readAll(head + "\r\n", 32768), EResponseTooLarge);
}

TEST(ResponseHead, CloseBeforeStatusLineAndDuringHeaders)
{
    EXPECT_THROW(readAll(""), EConnClosedGracefully);
    EXPECT_THROW(readAll("HTTP/1.1 200 OK"), EConnClosedGracefully);
    // A close while header lines are read ends the header block.
    const Read r = readAll("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n");
    EXPECT_EQ(r.head.headers("set-cookie"), QList<QByteArray>{"a=1"});
    EXPECT_EQ(r.body, "");
}

TEST(ResponseHead, NulBytesInHeadersAreKeptAsBytes)
{
    const Read r =
        readAll(QByteArray("HTTP/1.1 200 OK\r\nX-A: a\0b\r\nContent-Length: 1\r\n\r\nz", 50));
    EXPECT_EQ(r.head.header("X-A"), QByteArray("a\0b", 3));
    EXPECT_EQ(r.body, "z");
}

TEST(ChunkedBody, SizeLines)
{
    EXPECT_EQ(chunkSize("1a"), 26);
    EXPECT_EQ(chunkSize("1A trailing words"), 26);
    EXPECT_EQ(chunkSize("1a;name=value"), 26);
    EXPECT_EQ(chunkSize("1a ; name=value"), 26);
    EXPECT_EQ(chunkSize(";name=value"), 0);
    EXPECT_EQ(chunkSize("zz"), 0);
    EXPECT_EQ(chunkSize(""), 0);
    EXPECT_EQ(chunkSize("7fffffffffffffff"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(chunkSize("10000000000000000"), 0); // overflows 64 bits
    EXPECT_EQ(chunkSize("ffffffffffffffff"), 0);
}

TEST(ChunkedBody, CutShortAndHugeSizes)
{
    EXPECT_EQ(readAll("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel").body, "hel");
    EXPECT_EQ(readAll("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "7fffffffffffffff\r\nabc")
                  .body,
              "abc");
    EXPECT_EQ(readAll("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n"
                      "2\r\nok\r\n0\r\n\r\n")
                  .body,
              "ok");
}

TEST(BodyLimit, EndlessBodyFailsClearly)
{
    const QByteArray head = "HTTP/1.0 200 OK\r\n\r\n";
    EXPECT_THROW(readAll(head + QByteArray(5000, 'b'), 1024, 4096), EResponseTooLarge);
    EXPECT_EQ(readAll(head + QByteArray(4096, 'b'), 1024, 4096).body.size(), 4096);
    EXPECT_THROW(readAll("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                         "1000\r\n" +
                             QByteArray(4096, 'c') + "\r\n1\r\nx\r\n0\r\n\r\n",
                         1024, 4096),
                 EResponseTooLarge);
}

TEST(KeepAlive, VerdictFollowsCallVersion)
{
    THttpResponse r;
    EXPECT_FALSE(keepAliveByHeaders(r, pv1_0));
    EXPECT_TRUE(keepAliveByHeaders(r, pv1_1));
    r.Connection = " Keep-Alive ";
    EXPECT_TRUE(keepAliveByHeaders(r, pv1_0));
    r.Connection = "close";
    EXPECT_FALSE(keepAliveByHeaders(r, pv1_1));
    r.Connection.clear();
    r.ProxyConnection = "CLOSE";
    EXPECT_FALSE(keepAliveByHeaders(r, pv1_1));
}
