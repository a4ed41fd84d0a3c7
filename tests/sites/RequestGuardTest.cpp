// The server serves only its own user's window and pages: Host, Origin and the peer's owner.
#include "sites/server/RequestGuard.h"
#include "SiteServerFixture.h"
#include "sites/server/PeerOwner.h"

using mirel::siteserver::Endpoint;
using mirel::siteserver::isOwnHost;
using mirel::siteserver::isOwnOrigin;
using mirel::siteserver::isOwnPeer;
using mirel::siteserver::socketOwner;

TEST(RequestGuard, OwnHostIsLoopbackWithThePort)
{
    EXPECT_TRUE(isOwnHost("127.0.0.1:8765", 8765));
    EXPECT_TRUE(isOwnHost("localhost:8765", 8765));
    EXPECT_TRUE(isOwnHost("LocalHost:8765", 8765));
    EXPECT_TRUE(isOwnHost("127.0.0.1", 80)); // the window leaves out ":80"
    EXPECT_FALSE(isOwnHost("127.0.0.1", 8765));
    EXPECT_FALSE(isOwnHost("127.0.0.1:8766", 8765));
    EXPECT_FALSE(isOwnHost("attacker.example:8765", 8765));
    EXPECT_FALSE(isOwnHost("127.0.0.1.attacker.example:8765", 8765));
    EXPECT_FALSE(isOwnHost("", 8765));
}

TEST(RequestGuard, OwnOriginIsHttpLoopbackWithThePort)
{
    EXPECT_TRUE(isOwnOrigin("http://127.0.0.1:8765", 8765));
    EXPECT_TRUE(isOwnOrigin("http://localhost:8765", 8765));
    EXPECT_TRUE(isOwnOrigin("http://127.0.0.1", 80));
    EXPECT_FALSE(isOwnOrigin("null", 8765));
    EXPECT_FALSE(isOwnOrigin("https://127.0.0.1:8765", 8765));
    EXPECT_FALSE(isOwnOrigin("http://127.0.0.1:8766", 8765));
    EXPECT_FALSE(isOwnOrigin("http://attacker.example", 8765));
    EXPECT_FALSE(isOwnOrigin("http://", 8765));
}

TEST(RequestGuard, SocketOwnerFindsTheClientsRow)
{
    // 127.0.0.1:40000 -> 127.0.0.1:8765 of user 1001, the server's side of it (user 0), a
    // TIME-WAIT row of the same ends (no inode), and an IPv6 socket of user 1002 on
    // ::ffff:127.0.0.1:40001.
    const std::string table =
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  "
        "timeout inode\n"
        "   0: 0100007F:9C40 0100007F:223D 06 00000000:00000000 03:00000000 00000000     0   "
        "     0 0 3 0\n"
        "   1: 0100007F:223D 0100007F:9C40 01 00000000:00000000 00:00000000 00000000     0   "
        "     0 5001 1 0\n"
        "   2: 0100007F:9C40 0100007F:223D 01 00000000:00000000 00:00000000 00000000  1001   "
        "     0 5002 1 0\n"
        "   0: 0000000000000000FFFF00000100007F:9C41 0000000000000000FFFF00000100007F:223D 01 "
        "00000000:00000000 00:00000000 00000000  1002        0 5003 1 0\n";
    EXPECT_EQ(socketOwner(table, {"127.0.0.1", 40000}, {"127.0.0.1", 8765}), 1001u);
    EXPECT_EQ(socketOwner(table, {"127.0.0.1", 8765}, {"127.0.0.1", 40000}), 0u);
    EXPECT_EQ(socketOwner(table, {"127.0.0.1", 40001}, {"127.0.0.1", 8765}), 1002u);
    EXPECT_EQ(socketOwner(table, {"127.0.0.1", 40002}, {"127.0.0.1", 8765}), std::nullopt);
    EXPECT_EQ(socketOwner("garbage\n", {"127.0.0.1", 40000}, {"127.0.0.1", 8765}), std::nullopt);
}

TEST(RequestGuard, OnlyTheServersOwnUsersPeerIsServed)
{
    struct Row
    {
        std::optional<unsigned> owner;
        unsigned self;
        bool served;
    };
    const Row rows[] = {
        {1000u, 1000, true},         // the own user
        {0u, 0, true},               // root's own server
        {1001u, 1000, false},        // a second user on the same desktop
        {0u, 1000, false},           // root's process to a user's server
        {std::nullopt, 1000, false}, // the owner could not be found
        {std::nullopt, 0, false},
    };
    for (const Row &row : rows)
        EXPECT_EQ(isOwnPeer(row.owner, row.self), row.served)
            << row.owner.value_or(99999) << " " << row.self;
}

using RequestGuardServer = SiteServerFixture;

TEST_F(RequestGuardServer, ForeignHostAndOriginAreRefused)
{
    const auto own = get("/ad/201072928_1.html", {{"Origin", base()}});
    ASSERT_TRUE(own);
    EXPECT_EQ(own->status, 200);
    const std::string port = std::to_string(this->port());
    const auto rebound = get("/ad/201072928_1.html", {{"Host", "attacker.example:" + port}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
    const auto posted =
        post("/translate_txt", "trtext=hello&lp=en_zh", {{"Origin", "http://attacker.example"}});
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 403);
    EXPECT_EQ(posted->body, "refused: a page of another origin\n");
}
