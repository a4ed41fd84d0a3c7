// Peers whose body framing does not add up: oversized chunk sizes, negative lengths.
// The client returns what the framing allows and never reads a leftover as the next
// answer.
#include "HostileFixture.h"

using namespace mirel;
using namespace mirel::test;

TEST_F(HostilePeer, ChunkSizeOfSeventeenHexDigitsEndsTheBody)
{
    server.reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                 "5\r\nhello\r\n10000000000000000\r\nabc\r\n0\r\n\r\n");
    EXPECT_EQ(client.Get(url()), "hello");
    // What is left of that answer must not be taken as the answer to the next request.
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/after")), "ok");
}

TEST_F(HostilePeer, ChunkSizeThatFitsButNeverArrives)
{
    client.ReadTimeoutMs = 300;
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                         "7FFFFFFFFFFFFFFF\r\nabc")
                       .hang());
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    EXPECT_LT(out.seconds, 2.0);
}

TEST_F(HostilePeer, NegativeContentLengthReadsUntilClose)
{
    server.replyAndClose("HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabcdefgh");
    EXPECT_EQ(client.Get(url()), "abcdefgh");
}

TEST_F(HostilePeer, NegativeContentLengthOnAKeptConnectionEndsAtTheTimeLimit)
{
    client.ReadTimeoutMs = 300;
    server.reply("HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nabc");
    const Outcome out = run([&] { client.Get(url()); });
    EXPECT_EQ(out.message, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    EXPECT_LT(out.seconds, 2.0);
}

TEST_F(HostilePeer, ContentLengthShorterThanWhatIsSent)
{
    server.reply("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokEXTRA BYTES");
    EXPECT_EQ(client.Get(url()), "ok");
    server.reply(kOk);
    EXPECT_EQ(client.Get(url("/after")), "ok");
}

// Bytes that arrive after a whole keep-alive answer are no answer to the next request.
TEST_F(HostilePeer, BytesAfterAKeptAnswerAreNotTheNextAnswer)
{
    server.enqueue(Reply("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
                       .pause(20)
                       .send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nforged"));
    EXPECT_EQ(client.Get(url()), "ok");
    ASSERT_TRUE(server.waitForReplies(1));
    server.reply("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nreal");
    EXPECT_EQ(client.Get(url("/second")), "real");
    EXPECT_EQ(server.connectionCount(), 2);
}
