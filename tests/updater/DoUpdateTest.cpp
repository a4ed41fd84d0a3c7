#include "updater/DoUpdate.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

using mirel::test::ScriptedServer;

TEST(DoUpdate, FetchesTheListOnceAndReturnsWhenNothingIsNewer)
{
    ScriptedServer server;
    const QByteArray list = "[Mirel]\r\nVersion=" MIREL_VERSION "\r\nDownload=http://x/\r\n";
    server.replyAndClose("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(list.size()) +
                         "\r\n\r\n" + list);
    const QByteArray address = server.baseUrl() + "/SiteBack/updateTxt/28.txt";
    DoUpdate(0, address.constData());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(
        server.requests().first().startsWith("GET /SiteBack/updateTxt/28.txt HTTP/1.1\r\n"));
}

TEST(DoUpdate, ReturnsQuietlyWhenTheSiteIsDown)
{
    QByteArray address;
    {
        ScriptedServer server; // bound, then closed: its port now refuses connections
        address = server.baseUrl() + "/SiteBack/updateTxt/28.txt";
    }
    EXPECT_NO_FATAL_FAILURE(DoUpdate(0, address.constData()));
    DoUpdate(0, nullptr);
}
