// The vendor services behind the window's engines, through the site server: each engine
// asks its own vendor first, a failing one hands over, and no secret reaches the log.
#include "FakeVendors.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

#include <chrono>

using namespace std::chrono_literals;
using Kind = FakeVendor::Kind;

class VendorRouting : public SiteServerFixture
{
protected:
    void SetUp() override
    {
        mirel::siteserver::SiteOptions o;
        o.logRequests = true;
        o.backendLimit = 10s; // far above the pacing waits, even on a busy machine
        o.services.set("baidu-app-id", "baidu-id");
        o.services.set("baidu-key", "BaiduSecret9");
        o.services.set("baidu-url", baidu.address());
        o.services.set("youdao-app-key", "youdao-id");
        o.services.set("youdao-app-secret", "YoudaoSecret9");
        o.services.set("youdao-url", youdao.address());
        o.services.set("google-key", "GoogleSecret9");
        o.services.set("google-url", google.address());
        start(o);
        baidu.translateWith([](const std::string &) { return "from baidu"; });
        youdao.translateWith([](const std::string &) { return "from youdao"; });
        google.translateWith([](const std::string &) { return "from google"; });
    }

    // The window's request, the backends named in the answer, the window's cut of it.
    std::pair<std::string, QString> throughProgram(int engine, const QString &source,
                                                   const QString &target)
    {
        const mirel::Sites sites = mirel::Sites::local(quint16(port()));
        const auto request =
            mirel::buildEngineRequest(QStringLiteral("你好"), engine, source, target, sites);
        EXPECT_TRUE(request);
        const auto res = sendAsProgram(*request);
        if (!res)
            return {};
        return {
            res->get_header_value("X-Translated-By"),
            mirel::extractResult(engine, QByteArray::fromStdString(res->body), target, sites).text};
    }

    FakeVendor baidu{Kind::Baidu, "baidu-id", "BaiduSecret9"};
    FakeVendor youdao{Kind::Youdao, "youdao-id", "YoudaoSecret9"};
    FakeVendor google{Kind::Google, "", "GoogleSecret9"};
};

TEST_F(VendorRouting, EachEngineAsksItsOwnVendorFirstAndAFailureHandsOver)
{
    struct Row
    {
        int engine;
        QString source, target;
        const char *vendor, *text;
    };
    const Row rows[] = {
        {0, QStringLiteral("中文(简体)"), QStringLiteral("英语"), "google", "from google"},
        {1, QStringLiteral("中文"), QStringLiteral("英语"), "baidu", "from baidu"},
        {2, QStringLiteral("中文"), QStringLiteral("英语"), "youdao", "from youdao"},
        {3, QStringLiteral("中文"), QStringLiteral("英语"), "baidu", "from baidu"},
    };
    testing::internal::CaptureStderr();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.engine);
        const auto [by, text] = throughProgram(row.engine, row.source, row.target);
        EXPECT_EQ(by.rfind(row.vendor, 0), 0u) << by;
        EXPECT_EQ(text, QString::fromUtf8(row.text));
    }
    baidu.refuse("54004");
    const auto [by, text] = throughProgram(1, QStringLiteral("中文"), QStringLiteral("英语"));
    EXPECT_EQ(by.rfind("baidu failed (503) ", 0), 0u) << by;
    EXPECT_NE(by.find(", youdao "), std::string::npos) << by;
    EXPECT_EQ(text, QStringLiteral("from youdao"));
    // Every vendor refuses: the glossary is the last resort, the log names each failure.
    youdao.refuse("202");
    google.refuse("429");
    const auto [allBy, last] = throughProgram(1, QStringLiteral("中文"), QStringLiteral("英语"));
    EXPECT_NE(allBy.find("youdao failed (502) "), std::string::npos) << allBy;
    EXPECT_NE(allBy.find("google failed (503) "), std::string::npos) << allBy;
    EXPECT_NE(allBy.find("glossary "), std::string::npos) << allBy;
    shutDown(); // the last request's log line is written after its answer
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("google failed (503)"), std::string::npos) << log;
    for (const char *secret : {"BaiduSecret9", "YoudaoSecret9", "GoogleSecret9"})
        EXPECT_EQ(log.find(secret), std::string::npos) << log;
}

TEST_F(VendorRouting, TheStatusPageShowsARefusedKeyUntilTheSettingsChangeAndASpentQuotaWithItsPause)
{
    const auto status = [this] {
        const auto res = get("/201072928.html");
        return res ? res->body : std::string();
    };
    EXPECT_NE(status().find("<li>百度翻译（在线，用你的密钥）：可用</li>"), std::string::npos);
    struct Row
    {
        FakeVendor *vendor;
        const char *code;
        int engine;
        const char *shown;
    };
    const Row rows[] = {
        {&baidu, "54001", 1, "<li>百度翻译（在线，用你的密钥）：拒绝了密钥"},
        {&youdao, "401", 2,
         "<li>有道智云（在线，用你的密钥）：额度用完（额度恢复前由其他服务翻译），"},
        {&baidu, "", 1, "<li>百度翻译（在线，用你的密钥）：拒绝了密钥"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.shown);
        row.vendor->refuse(row.code);
        throughProgram(row.engine, QStringLiteral("中文"), QStringLiteral("英语"));
        const std::string page = status();
        EXPECT_NE(page.find(row.shown), std::string::npos) << page;
        EXPECT_EQ(page.find("BaiduSecret9"), std::string::npos);
    }
}
