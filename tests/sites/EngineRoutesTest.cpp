#include "PageCuts.h"
#include "SiteServerFixture.h"

#include "sites/core/GbkCodec.h"
#include "sites/core/ValidUtf8.h"

using mirel::siteserver::gbkToUtf8;
using mirel::siteserver::utf8ToGbk;

namespace {

std::string googleForm(std::string_view text, std::string_view sl, std::string_view tl)
{
    return "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" + formValue(text) +
           "&file=&sl=" + std::string(sl) + "&tl=" + std::string(tl);
}

std::string youdaoForm(std::string_view text, std::string_view type)
{
    return "ue=UTF-8&keyfrom=fanyi.web&smartresult=dict&smartresult=rule&i=" + formValue(text) +
           "&o=&type=" + std::string(type) + "&action=" + formValue("翻译");
}

std::string yahooForm(std::string_view text, std::string_view lp)
{
    return "ei=UTF-8&fr=&lp=" + std::string(lp) + "&trtext=" + formValue(text);
}

std::string relayForm(std::string_view utf8Text, std::string_view lang)
{
    return "sen=" + formValue(utf8ToGbk(utf8Text)) + "&lang=" + std::string(lang);
}

std::string relayCredit(const std::string &home)
{
    return "<p>以上结果由<a href=\"" + home + "\" target=\"_blank\">金桥翻译</a>提供";
}

} // namespace

using EngineRoutes = SiteServerFixture;

TEST_F(EngineRoutes, GoogleAnswersUtf8WithTheResultInTheHiddenField)
{
    const auto res = post("/", googleForm("我喜欢茶\r\n谢谢", "zh-CN", "en"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=UTF-8");
    EXPECT_TRUE(mirel::siteserver::isValidUtf8(res->body));
    EXPECT_EQ(
        cutBetween(res->body, "\"><input type=hidden name=gtrans value=\"", "\"><div id=sug_exp>"),
        "I like tea\r\nThank you");
}

TEST_F(EngineRoutes, RelayAnswersGbkWithResultBlockAndItsOwnCreditLine)
{
    const auto res = post("/trans.php", relayForm("我爱你", "cnen"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_FALSE(mirel::siteserver::isValidUtf8(res->body)); // GBK, not UTF-8
    const std::string page = gbkToUtf8(res->body).value_or("");
    const std::string block = cutBetween(page, "<h1>自动翻译结果如下</h1>", relayCredit(base()));
    EXPECT_EQ(cutBetween(block, "id=\"result\">", "</div>"), "I love you");
    EXPECT_EQ(page.find("<div class='err'>"), std::string::npos);
}

TEST_F(EngineRoutes, RelayBusyModeShowsTheBusyMarker)
{
    start({.relayBusy = true});
    const auto res = post("/trans.php", relayForm("hello", "encn"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_NE(res->body.find(utf8ToGbk("<div class='err'>翻译服务器繁忙！请稍后重试。")),
              std::string::npos);
    // Bad requests are still refused while busy.
    EXPECT_EQ(post("/trans.php", "sen=x&lang=frcn")->status, 400);
}

TEST_F(EngineRoutes, YoudaoResultIsTheTextareaAfterTheOutputId)
{
    const auto res = post("/translate", youdaoForm("ありがとう", "JA2ZH_CN"));
    ASSERT_TRUE(res);
    const std::string block = cutBetween(res->body, "id=\"source_text2\"", "class=\"submitcell\"");
    EXPECT_EQ(cutBetween(block, ">", "</textarea>"), "谢谢");
}

TEST_F(EngineRoutes, YahooResultIsThePdBlockInsideTheResultBox)
{
    const auto res = post("/translate_txt", yahooForm("你好", "zh_ja"));
    ASSERT_TRUE(res);
    const std::string block =
        cutBetween(res->body, "<div class=\"result\">", "<div class=\"clr\">");
    EXPECT_EQ(cutBetween(block, "<div id=\"pd\" class=\"pd\">", "</div>"), "こんにちは");
}

TEST_F(EngineRoutes, SessionCookieIsSetOnceAndHonoured)
{
    const auto first = post("/translate_txt", yahooForm("水", "zh_en"));
    ASSERT_TRUE(first);
    const std::string setCookie = first->get_header_value("Set-Cookie");
    ASSERT_EQ(setCookie.rfind("MIREL_SESSION=", 0), 0u);
    EXPECT_NE(setCookie.find("; path=/"), std::string::npos);
    const std::string cookie = setCookie.substr(0, setCookie.find(';'));

    // Another engine of the same run presents it: known, counted, not set again.
    const auto second = post("/", googleForm("水", "zh-CN", "en"), {{"Cookie", cookie}});
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->has_header("Set-Cookie"));
    EXPECT_NE(second->body.find(", request 2 -->"), std::string::npos);

    const auto stranger =
        post("/", googleForm("水", "zh-CN", "en"), {{"Cookie", "MIREL_SESSION=forged"}});
    ASSERT_TRUE(stranger);
    EXPECT_TRUE(stranger->has_header("Set-Cookie"));
}

struct BadPost
{
    const char *name;
    std::string path;
    std::string body;
    std::string reason; // part of the 400 text
    std::string contentType = "application/x-www-form-urlencoded";
};

void PrintTo(const BadPost &row, std::ostream *os)
{
    *os << row.name;
}

class EngineBadRequests : public SiteServerFixture, public ::testing::WithParamInterface<BadPost>
{
};

TEST_P(EngineBadRequests, AreRefusedWithAReason)
{
    const BadPost &row = GetParam();
    const auto res = post(row.path, row.body, {}, row.contentType);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 400);
    EXPECT_NE(res->body.find(row.reason), std::string::npos) << res->body;
    EXPECT_FALSE(res->has_header("Set-Cookie"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EngineBadRequests,
    ::testing::Values(
        BadPost{"NotAForm", "/", googleForm("a", "en", "ja"), "Content-Type", "text/plain"},
        BadPost{"PlusForBlank", "/", googleForm("a", "en", "ja") + "&x=a+b", "\"+\""},
        BadPost{"GoogleMissingFile",
                "/",
                "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=a&sl=en&tl=ja",
                {},
                "missing form fields: file"},
        BadPost{"GoogleTextNotUtf8", "/", googleForm("\xC4\xE3", "zh-CN", "en"), "UTF-8"},
        BadPost{"GoogleUnknownCode", "/", googleForm("a", "en", "xx"), "language code"},
        BadPost{"RelayUtf8Sen", "/trans.php", "sen=%FF%FF&lang=encn", "GBK"},
        BadPost{"RelayBadLang", "/trans.php", relayForm("a", "enja"), "encn or cnen"},
        BadPost{"RelayMissingLang", "/trans.php", "sen=a", "missing form fields: lang"},
        BadPost{"YoudaoGbkAction",
                "/translate",
                "ue=UTF-8&keyfrom=fanyi.web&smartresult=dict&smartresult=rule&i=a&o=&type="
                "EN2ZH_CN&action=" +
                    formValue(utf8ToGbk("翻译")),
                {},
                "action"},
        BadPost{"YoudaoBadType", "/translate", youdaoForm("a", "EN-ZH_CN"), "type"},
        BadPost{"YahooBadPair", "/translate_txt", yahooForm("a", "zh_fr"), "lp"},
        BadPost{"YahooBrokenEscape",
                "/translate_txt",
                "ei=UTF-8&fr=&lp=zh_en&trtext=%E4%B",
                {},
                "percent escape"}),
    [](const auto &info) { return std::string(info.param.name); });
