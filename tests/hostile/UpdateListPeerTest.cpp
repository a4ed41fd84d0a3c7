// An update site that trickles its list: the check ends within its bound, quietly.
#include "updater/UpdateCheck.h"
#include "updater/UpdateFetch.h"

#include "HostileFixture.h"

using namespace mirel;
using namespace mirel::test;

TEST(HostileUpdateSite, TricklingListEndsTheCheckWithinItsBound)
{
    ScriptedServer server;
    const QByteArray list = "[Mirel]\r\nVersion=99.0\r\nDownload=http://x/\r\n";
    Reply trickle;
    for (const char c : "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(list.size()) +
                            "\r\n\r\n" + list)
        trickle.send(QByteArray(1, c)).pause(40);
    server.enqueue(trickle);
    bool asked = false;
    UpdateCheckHooks hooks;
    hooks.fetch = [](const QByteArray &address) { return fetchUpdateList(address, 400); };
    hooks.askToOpen = [&](const UpdateInfo &) { return asked = true; };
    hooks.open = [](const QByteArray &) {};
    const Outcome out = run([&] {
        runUpdateCheck(server.baseUrl() + "/SiteBack/updateTxt/28.txt", QStringLiteral("1.0"),
                       hooks);
    });
    EXPECT_LT(out.seconds, 1.5);
    EXPECT_FALSE(asked);
    EXPECT_EQ(server.requests().size(), 1);
}
