// 简↔繁 through OpenCC with Taiwan's phrases: the phrases, the text around them kept byte
// for byte, one converter for many threads, and a server without OpenCC's data.
#include "SiteServerFixture.h"

#include "sites/languages/ChineseScript.h"

#include <QTemporaryDir>

#include <future>
#include <vector>

using mirel::siteserver::ChineseScript;

namespace {

const ChineseScript &script()
{
    static const ChineseScript loaded;
    return loaded;
}

} // namespace

TEST(ChineseScript, PhrasesBothWays)
{
    struct Row
    {
        const char *simplified, *traditional;
    };
    const Row rows[] = {
        {"这个问题很简单，请帮我看一下。", "這個問題很簡單，請幫我看一下。"},
        {"公里", "公里"},
        {"头发", "頭髮"},
        {"皇后", "皇后"},
        {"公园", "公園"},
        {"软件", "軟體"},
        {"打印机和鼠标", "印表機和滑鼠"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(script().toTraditional(row.simplified), row.traditional);
        EXPECT_EQ(script().toSimplified(row.traditional), row.simplified);
    }
}

TEST(ChineseScript, EverythingButTheChineseStaysByteForByte)
{
    using namespace std::string_literals;
    EXPECT_EQ(script().toTraditional("Mirel 2.0:\t软件 \"OK\" <b>&amp;</b>\r\n\r\n  头发\n"),
              "Mirel 2.0:\t軟體 \"OK\" <b>&amp;</b>\r\n\r\n  頭髮\n");
    // A NUL, a stray byte and a cut character stay where they were.
    EXPECT_EQ(script().toTraditional("软件\0头发\xff公园\xe8"s), "軟體\0頭髮\xff公園\xe8"s);
    const std::string passage = [] {
        std::string text;
        for (int i = 0; i < 500; ++i)
            text += "第" + std::to_string(i) + "行：这个软件很简单。\r\n";
        return text;
    }();
    const std::string expected = script().toTraditional(passage);
    EXPECT_EQ(script().toSimplified(expected), passage);
    std::vector<std::future<std::string>> runs;
    for (int i = 0; i < 4; ++i)
        runs.push_back(
            std::async(std::launch::async, [&] { return script().toTraditional(passage); }));
    for (auto &run : runs)
        EXPECT_EQ(run.get(), expected);
}

TEST(ChineseScript, MissingDataIsAClearErrorAndTheServerStartsWithout)
{
    const QTemporaryDir empty;
    try {
        ChineseScript none(empty.path().toStdString());
        ADD_FAILURE() << "loaded from an empty folder";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(std::string(e.what()).find("s2twp.json"), std::string::npos) << e.what();
    }
    mirel::siteserver::SiteOptions options;
    options.opencc = empty.path().toStdString();
    const mirel::siteserver::SiteServer server(options);
    // Only the keyless online services (on with no setting) are left for the scripts; the
    // glossary still serves.
    const auto names = [&](const mirel::siteserver::LanguagePair &pair) {
        std::vector<std::string> out;
        for (const auto *backend : server.gateway()->route(pair))
            out.push_back(backend->name());
        return out;
    };
    const std::vector<std::string> online{"google-web", "edge", "volcengine-web"};
    EXPECT_EQ(names({"zh-CN", "zh-TW"}), online);
    EXPECT_EQ(names({"en", "zh-TW"}), online);
    EXPECT_EQ(names({"en", "zh-CN"}).back(), "glossary");
}
