// The site server as a gateway: routing by the engines' language lists, the text carried
// exactly into each engine's page, and failures that end in time.
#include "FakeServices.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "sites/apertium/ApertiumBackend.h"
#include "sites/languages/LanguageCodes.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

using namespace std::chrono_literals;
using mirel::siteserver::SiteOptions;

namespace {

std::string googleForm(std::string_view text, std::string_view sl, std::string_view tl)
{
    return "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" + formValue(text) +
           "&file=&sl=" + std::string(sl) + "&tl=" + std::string(tl);
}

std::string field(const httplib::Params &fields, const std::string &name)
{
    const auto it = fields.find(name);
    return it == fields.end() ? std::string("(none)") : it->second;
}

} // namespace

class Gateway : public SiteServerFixture
{
protected:
    void SetUp() override { start(options()); }

    SiteOptions options() const
    {
        SiteOptions o;
        o.apertium = apy->address();
        o.services.set("upstream", libre.address());
        o.services.set("api-key", "key-1");
        o.backendLimit = 500ms;
        return o;
    }

    // The window's request for an engine and two display names, its answer and the
    // window's cut of it.
    std::pair<int, QString> throughProgram(int engine, const QString &source, const QString &target,
                                           const QString &passage)
    {
        const mirel::Sites sites = mirel::Sites::local(quint16(port()));
        const auto request = mirel::buildEngineRequest(passage, engine, source, target, sites);
        EXPECT_TRUE(request);
        const auto res = sendAsProgram(*request);
        if (!res)
            return {0, {}};
        return {
            res->status,
            mirel::extractResult(engine, QByteArray::fromStdString(res->body), target, sites).text};
    }

    std::unique_ptr<FakeService> apy =
        std::make_unique<FakeService>(FakeService::Kind::Apy, apyPairList({{"eng", "spa"},
                                                                           {"spa", "eng"},
                                                                           {"eng", "cat_valencia"},
                                                                           {"eng", "cat"},
                                                                           {"eng", "hbs_SR"},
                                                                           {"hbs", "eng"},
                                                                           {"nob", "dan"}}));
    FakeService libre{
        FakeService::Kind::LibreTranslate,
        libreLanguages({{"en", {"zh", "zt", "ja", "es"}}, {"zh", {"en", "zt"}}, {"ja", {"en"}}})};
};

TEST_F(Gateway, EachPairGoesToTheFirstEngineThatListsIt)
{
    struct Row
    {
        const char *sl, *tl, *backend, *codes;
    };
    const Row rows[] = {
        {"en", "es", "upstream", "en|es"},      {"es", "en", "apertium", "spa|eng"},
        {"en", "ca", "apertium", "eng|cat"},    {"sr", "en", "apertium", "hbs|eng"},
        {"en", "sr", "apertium", "eng|hbs_SR"}, {"no", "da", "apertium", "nob|dan"},
        {"zh-CN", "en", "upstream", "zh|en"},   {"en", "zh-TW", "upstream", "en|zt"},
        {"ja", "en", "upstream", "ja|en"},      {"zh-CN", "ja", "glossary", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.sl) + " " + row.tl);
        const auto res = post("/", googleForm("Hello", row.sl, row.tl));
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200) << res->body;
        EXPECT_EQ(res->get_header_value("X-Translated-By").rfind(row.backend, 0), 0u)
            << res->get_header_value("X-Translated-By");
        if (std::string_view(row.backend) == "apertium") {
            EXPECT_EQ(field(apy->translations().back(), "langpair"), row.codes);
        }
        if (std::string_view(row.backend) == "upstream") {
            const httplib::Params sent = libre.translations().back();
            EXPECT_EQ(field(sent, "source") + "|" + field(sent, "target"), row.codes);
            EXPECT_EQ(field(sent, "q") + field(sent, "format") + field(sent, "api_key"),
                      "Hellotextkey-1");
        }
    }
    EXPECT_EQ(field(apy->translations().back(), "markUnknown"), "yes");
}

TEST_F(Gateway, ServicesInTheOrderSetElseAsTheSettingsNameThemApertiumLast)
{
    struct Row
    {
        const char *order, *expected;
    };
    const Row rows[] = {
        {nullptr, "opencc,upstream,apertium,glossary"},
        {"apertium", "opencc,apertium,upstream,glossary"},
        {"glossary, apertium, upstream, opencc", "opencc,apertium,upstream,glossary"},
    };
    for (const Row &row : rows) {
        SiteOptions o = options();
        if (row.order)
            o.services.set("order", row.order);
        start(o);
        std::string names;
        for (const auto &backend : gateway().backends())
            names += (names.empty() ? "" : ",") + backend->name();
        EXPECT_EQ(names, row.expected);
    }
    SiteOptions unknown = options();
    unknown.services.set("order", "apertium, bing");
    EXPECT_THROW(mirel::siteserver::SiteServer{unknown}, std::invalid_argument);
}

TEST_F(Gateway, StatusPageSaysWhatServesWhatAndShowsNoKey)
{
    const auto res = get("/201072928.html");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
    const std::string &page = res->body;
    for (const char *part : {
             "<h3>Google引擎</h3>",
             "<tr><td>中文(简体) →</td><td><b>LibreTranslate</b>：英语<br>"
             "<b>内置词汇表（逐词）</b>：日语<br><b>OpenCC 简繁转换</b>：中文(繁体)</td></tr>",
             "<tr><td>西班牙语 →</td><td><b>Apertium</b>：英语</td></tr>",
             "<h3>百度引擎</h3>\n<table>\n<tr><td>中文 →</td><td><b>LibreTranslate</b>：英语",
             "<li>LibreTranslate（在线，按你的设置）：可用</li>",
             "要翻译的文字会发送给下列在线服务：LibreTranslate。",
             "<li>Apertium（本机）：可用</li>",
             "Apertium 另有窗口中无法选择的语言对：eng→cat_valencia</p>",
         })
        EXPECT_NE(page.find(part), std::string::npos) << part << "\n" << page;
    EXPECT_EQ(page.find("key-1"), std::string::npos);
    EXPECT_EQ(page.find("sites.conf"), std::string::npos); // no hint: a service is set up
    EXPECT_EQ(get("/")->body.find("key-1"), std::string::npos);
}

TEST(ApertiumText, ABlankLeftByADroppedWordGoesWhereTheSourceHadNone)
{
    using mirel::siteserver::withoutDroppedWordBlanks;
    EXPECT_EQ(withoutDroppedWordBlanks("I love books.\r\nI have\r\n  x",
                                       " Quiero libros.\r\n Tengo\r\n  x"),
              "Quiero libros.\r\nTengo\r\n  x");
    EXPECT_EQ(withoutDroppedWordBlanks("a\nb", " one line"), " one line"); // lines differ
}

TEST_F(Gateway, APairNoEngineServesIs501NamingTheFormsCodes)
{
    const auto google = post("/", googleForm("Hello", "en", "ko"));
    ASSERT_TRUE(google);
    EXPECT_EQ(google->status, 501);
    EXPECT_EQ(google->body, "no translation engine for en to ko\n");
}

TEST_F(Gateway, TheWindowCutsExactlyTheTextTheEngineGave)
{
    struct Row
    {
        int engine;
        QString source, target, given, shown;
    };
    const QString tricky = QStringLiteral("He said \"hi\" & <b>bye</b> &amp;\r\n1<2 > 0 'end'");
    const Row rows[] = {
        {0, QStringLiteral("英语"), QStringLiteral("西班牙语"), tricky, tricky},
        {0, QStringLiteral("英语"), QStringLiteral("西班牙语"),
         QStringLiteral("a\"><div id=sug_exp>b"), QStringLiteral("a&#34;><div id=sug_exp>b")},
        {1, QStringLiteral("英语"), QStringLiteral("中文"), QStringLiteral("我爱你 😀 <i>&"),
         QStringLiteral("我爱你 ? <i>&")},
        {1, QStringLiteral("英语"), QStringLiteral("中文"), QStringLiteral("a</div>b"),
         QStringLiteral("a&#60;/div>b")},
        {2, QStringLiteral("英语"), QStringLiteral("中文"), tricky, tricky},
        {2, QStringLiteral("英语"), QStringLiteral("中文"), QStringLiteral("a</textarea>b"),
         QStringLiteral("a&#60;/textarea>b")},
        {3, QStringLiteral("英语"), QStringLiteral("中文"), tricky, tricky},
        {3, QStringLiteral("英语"), QStringLiteral("中文"), QStringLiteral("a</div>b"),
         QStringLiteral("a&#60;/div>b")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.engine);
        apy->answer(row.given.toStdString());
        libre.answer(row.given.toStdString());
        const auto [status, shown] =
            throughProgram(row.engine, row.source, row.target, QStringLiteral("anything"));
        EXPECT_EQ(status, 200);
        EXPECT_EQ(shown, row.shown);
    }
}

// Apertium and the upstream both fail: the first failure is the answer; the relay's
// pair falls to the glossary, the last resort, while time is left.
TEST_F(Gateway, AFailingEngineIsReportedInTimeAndTheNextOneAsked)
{
    struct Row
    {
        FakeMode mode;
        int status;
    };
    const Row rows[] = {{FakeMode::ServerError, 502},
                        {FakeMode::MalformedJson, 502},
                        {FakeMode::Oversized, 502},
                        {FakeMode::Slow, 503},
                        {FakeMode::Trickle, 503}};
    for (const Row &row : rows) {
        SCOPED_TRACE(int(row.mode));
        apy->answer("hola", row.mode);
        libre.answer("你好", row.mode);
        const auto began = std::chrono::steady_clock::now();
        const auto google = post("/", googleForm("hello", "es", "en"));
        ASSERT_TRUE(google);
        EXPECT_EQ(google->status, row.status) << google->body;
        EXPECT_EQ(google->get_header_value("X-Translated-By").rfind("apertium failed (", 0), 0u);
        const auto [status, relay] = throughProgram(
            1, QStringLiteral("英语"), QStringLiteral("中文"), QStringLiteral("hello"));
        // A silent engine spends (nearly) the whole time limit: whether the glossary still
        // gets its turn is a matter of microseconds.
        if (row.status != 503) {
            EXPECT_EQ(relay, QStringLiteral("你好"));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - began, 2500ms);
    }
    apy->answer("hola");
    const auto after = post("/", googleForm("hello", "es", "en"));
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 200);
}

TEST_F(Gateway, AnEngineThatWentDownIs503)
{
    apy.reset();
    libre.answer("hola", FakeMode::ServerError);
    const auto res = post("/", googleForm("hello", "es", "en"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 503);
    EXPECT_EQ(res->body.rfind("apertium not available", 0), 0u) << res->body;
}

TEST(LanguageCodes, EachEnginesCodesMapToApertiumAndLibreTranslate)
{
    using namespace mirel::siteserver;
    EXPECT_EQ(yahooLanguages("zh_ja")->from, "zh-CN");
    EXPECT_EQ(youdaoLanguages("JA2ZH_CN")->to, "zh-CN");
    EXPECT_EQ(relayLanguages("encn")->to, "zh-CN");
    EXPECT_EQ(apertiumCodes("es"), (std::vector<std::string>{"spa", "es"}));
    EXPECT_EQ(apertiumCodes("hr"), (std::vector<std::string>{"hbs_HR", "hrv", "hbs", "hr"}));
    EXPECT_EQ(libreTranslateCodes("zh-TW"), (std::vector<std::string>{"zt", "zh-Hant", "zh-TW"}));
    EXPECT_EQ(libreTranslateCodes("iw"), (std::vector<std::string>{"he", "iw"}));
    EXPECT_EQ(libreTranslateCodes("ko"), (std::vector<std::string>{"ko"}));
    EXPECT_TRUE(apertiumCodes("xx").empty());
}

TEST(SiteServerPort, OneServerAPortAndARestartBindsAtOnce)
{
    int port = 0;
    {
        mirel::siteserver::SiteServer first;
        port = first.bind(0);
        ASSERT_GT(port, 0);
        // A second server must not share the port (as SO_REUSEPORT would let it).
        mirel::siteserver::SiteServer twin;
        EXPECT_EQ(twin.bind(port), -1);
        std::thread serving([&first] { first.serve(); });
        // The server closes first, so its side of the connection waits out TIME-WAIT.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        const std::string request = "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
        ASSERT_EQ(::send(fd, request.data(), request.size(), 0), ssize_t(request.size()));
        char buffer[4096];
        while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
        ::close(fd);
        first.stop();
        serving.join();
    }
    mirel::siteserver::SiteServer second;
    EXPECT_EQ(second.bind(port), port);
}
