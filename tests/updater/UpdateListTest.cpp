#include "updater/UpdateList.h"

#include <gtest/gtest.h>

using namespace mirel;

TEST(UpdateList, ReadsVersionAndDownload)
{
    const auto info =
        parseUpdateList("[Mirel]\r\nVersion=1.2.10\r\nDownload=http://127.0.0.1:8765/a.html\r\n");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->version, u"1.2.10");
    EXPECT_EQ(info->download, "http://127.0.0.1:8765/a.html");
}

TEST(UpdateList, RejectsWhatItCannotTrust)
{
    EXPECT_FALSE(parseUpdateList(""));
    EXPECT_FALSE(parseUpdateList("<html>404</html>"));
    EXPECT_FALSE(parseUpdateList("Version=2.0\r\nDownload=http://x/\r\n")); // no section
    EXPECT_FALSE(parseUpdateList("[Other]\r\nVersion=2.0\r\nDownload=http://x/\r\n"));
    EXPECT_FALSE(parseUpdateList("[Mirel]\r\nVersion=2.0\r\n"));
    EXPECT_FALSE(parseUpdateList("[Mirel]\r\nVersion=2.0beta\r\nDownload=http://x/\r\n"));
    EXPECT_FALSE(parseUpdateList("[Mirel]\r\nVersion=2.0\r\nDownload=javascript:alert(1)\r\n"));
}

TEST(UpdateList, ComparesVersionsNumerically)
{
    EXPECT_GT(compareVersions(u"1.10", u"1.9"), 0);
    EXPECT_EQ(compareVersions(u"1.0", u"1"), 0);
    EXPECT_LT(compareVersions(u"1.0.0", u"1.0.1"), 0);
    EXPECT_EQ(compareVersions(u"2.0.0", u"2.0.0"), 0);
}
