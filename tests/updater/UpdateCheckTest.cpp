#include "updater/UpdateCheck.h"

#include "util/Errors.h"

#include <QList>

#include <gtest/gtest.h>

using namespace mirel;

namespace {

struct Recorder
{
    QByteArray list;
    bool answer = true;
    bool throwOnFetch = false;
    int asked = 0;
    QList<QByteArray> opened;

    UpdateCheckHooks hooks()
    {
        return {[this](const QByteArray &) {
                    if (throwOnFetch)
                        throw Exception(u"Socket Error # 10061\r\nConnection refused."_qs);
                    return list;
                },
                [this](const UpdateInfo &) {
                    ++asked;
                    return answer;
                },
                [this](const QByteArray &address) { opened.append(address); }};
    }
};

const QByteArray kNewer = "[Mirel]\r\nVersion=9.0.0\r\nDownload=http://127.0.0.1:1/get.html\r\n";

} // namespace

TEST(UpdateCheck, NewerVersionAsksAndOpensOnYes)
{
    Recorder r;
    r.list = kNewer;
    runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks());
    EXPECT_EQ(r.asked, 1);
    EXPECT_EQ(r.opened, QList<QByteArray>{"http://127.0.0.1:1/get.html"});
}

TEST(UpdateCheck, NoOpensOnNo)
{
    Recorder r;
    r.list = kNewer;
    r.answer = false;
    runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks());
    EXPECT_EQ(r.asked, 1);
    EXPECT_TRUE(r.opened.isEmpty());
}

TEST(UpdateCheck, SameOrOlderVersionIsSilent)
{
    Recorder r;
    r.list = "[Mirel]\r\nVersion=1.0.0\r\nDownload=http://x/\r\n";
    runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks());
    r.list = "[Mirel]\r\nVersion=0.9\r\nDownload=http://x/\r\n";
    runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks());
    EXPECT_EQ(r.asked, 0);
}

TEST(UpdateCheck, FailuresNeverEscape)
{
    Recorder r;
    r.throwOnFetch = true;
    EXPECT_NO_THROW(runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks()));
    r.throwOnFetch = false;
    r.list = "<html>Not Found</html>";
    EXPECT_NO_THROW(runUpdateCheck("http://x/28.txt", u"1.0.0"_qs, r.hooks()));
    EXPECT_EQ(r.asked, 0);
}
