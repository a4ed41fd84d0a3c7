// The program's own request builder and result extraction against the local site server: what the
// program sends is accepted, and what the server answers is cut to the right text.
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

#include <QString>

using namespace Qt::StringLiterals;

namespace {

struct EngineCase
{
    const char *name;
    int engine;
    QString passage;
    QString source;
    QString target;
    QString expected;
};

void PrintTo(const EngineCase &c, std::ostream *os)
{
    *os << c.name;
}

} // namespace

class EngineContract : public SiteServerFixture, public ::testing::WithParamInterface<EngineCase>
{
protected:
    // Posts the engine's request as the program would and returns the body.
    std::string send(const mirel::EngineRequest &request)
    {
        const auto res = sendAsProgram(request);
        EXPECT_TRUE(res);
        if (!res)
            return {};
        EXPECT_EQ(res->status, 200) << res->body;
        return res->body;
    }
};

TEST_P(EngineContract, ProgramRequestIsAcceptedAndItsResultCutOut)
{
    const EngineCase &c = GetParam();
    const mirel::Sites sites = mirel::Sites::local(quint16(port()));
    const auto request = mirel::buildEngineRequest(c.passage, c.engine, c.source, c.target, sites);
    ASSERT_TRUE(request);
    const std::string body = send(*request);
    const mirel::ExtractedResult result =
        mirel::extractResult(c.engine, QByteArray::fromStdString(body), c.target, sites);
    EXPECT_EQ(result.text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, EngineContract,
    ::testing::Values(
        EngineCase{"GoogleChineseToEnglish", 0, u"你好，朋友"_s, u"中文(简体)"_s, u"英语"_s,
                   u"Hello, friend"_s},
        EngineCase{"GoogleToTraditional", 0, u"翻译软件\r\n这个问题很简单，请帮我看一下。"_s,
                   u"中文(简体)"_s, u"中文(繁体)"_s,
                   u"翻譯軟體\r\n這個問題很簡單，請幫我看一下。"_s},
        EngineCase{"GoogleLongPassageToTraditional", 0, u"这个软件很简单。\r\n"_s.repeated(400),
                   u"中文(简体)"_s, u"中文(繁体)"_s, u"這個軟體很簡單。\r\n"_s.repeated(400)},
        EngineCase{"GoogleToSimplified", 0, u"頭髮 公園"_s, u"中文(繁体)"_s, u"中文(简体)"_s,
                   u"头发 公园"_s},
        EngineCase{"GoogleMultiLine", 0, u"good morning\r\nthank you"_s, u"英语"_s, u"日语"_s,
                   u"おはようございます\r\nありがとう"_s},
        EngineCase{"BaiduEnglishToChinese", 1, u"I love music"_s, u"英语"_s, u"中文"_s,
                   u"我爱音乐"_s},
        EngineCase{"BaiduChineseToEnglish", 1, u"我喜欢茶"_s, u"中文"_s, u"英语"_s,
                   u"I like tea"_s},
        EngineCase{"YoudaoJapaneseToChinese", 2, u"ありがとう"_s, u"日语"_s, u"中文"_s, u"谢谢"_s},
        EngineCase{"YahooChineseToJapanese", 3, u"你好"_s, u"中文"_s, u"日语"_s, u"こんにちは"_s}),
    [](const auto &info) { return std::string(info.param.name); });

using RelayContract = SiteServerFixture;

TEST_F(RelayContract, BusyPageGivesTheProgramsBusyText)
{
    start({.relayBusy = true});
    const mirel::Sites sites = mirel::Sites::local(quint16(port()));
    const auto request = mirel::buildEngineRequest(u"hello", 1, u"英语", u"中文", sites);
    ASSERT_TRUE(request);
    const auto res = sendAsProgram(*request);
    ASSERT_TRUE(res);
    EXPECT_EQ(mirel::extractResult(1, QByteArray::fromStdString(res->body), u"中文", sites).text,
              mirel::RelayBusyText.toString());
}
