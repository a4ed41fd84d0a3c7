// The host table: the local sites follow the port the launcher hands the window.
#include "config/Sites.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

TEST(Sites, MovedToPortMovesOnlyTheLocalSites)
{
    Sites sites = Sites::local(8765);
    sites.dictionary = "http://127.0.0.1:9000"; // overridden on its own at configure time
    const Sites moved = sites.movedToPort("http://127.0.0.1:8765", "40123");
    EXPECT_EQ(moved.google, "http://127.0.0.1:40123");
    EXPECT_EQ(moved.tts, "http://127.0.0.1:40123");
    EXPECT_EQ(moved.vendorAdPage(), "http://127.0.0.1:40123/ad/201072928_1.html");
    EXPECT_EQ(moved.dictionary, "http://127.0.0.1:9000");
}

TEST(Sites, MovedToPortKeepsTheTableForAnythingButAPort)
{
    const Sites sites = Sites::local(8765);
    for (const char *port : {"", "0", "65536", "-1", "+80", " 80", "80x", "0x50", "123456"})
        EXPECT_EQ(sites.movedToPort("http://127.0.0.1:8765", port).google, "http://127.0.0.1:8765")
            << port;
    EXPECT_EQ(sites.movedToPort("http://127.0.0.1:8765", "65535").google, "http://127.0.0.1:65535");
}

TEST(Sites, ConfiguredFollowsTheLaunchersPortInTheLocalProfileOnly)
{
    qunsetenv("MIREL_SITES_PORT");
    const Sites plain = Sites::configured();
    qputenv("MIREL_SITES_PORT", "40123");
    const Sites launched = Sites::configured();
    qunsetenv("MIREL_SITES_PORT");
#ifdef MIREL_TEST_LOCAL_PROFILE
    EXPECT_EQ(plain.google, "http://127.0.0.1:" + QByteArray::number(MIREL_TEST_LOCAL_PORT));
    EXPECT_EQ(launched.google, "http://127.0.0.1:40123");
#else
    EXPECT_EQ(launched.google, plain.google);
#endif
}

} // namespace
} // namespace mirel
