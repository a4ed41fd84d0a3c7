// DeepL's API against a fake written from its documentation: the key in the
// Authorization header, the language lists, the codes, lines kept, the size limits and
// the failures (456, 429, 403, 5xx) as short reasons without the key.
#include "FakeHttpServer.h"
#include "ScriptedServer.h"
#include "SiteServerFixture.h"

#include "sites/services/DeepLBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <mutex>

using namespace mirel::siteserver;
using namespace std::chrono_literals;
using mirel::siteserver::SiteOptions;

namespace {

constexpr const char *kKey = "5b1d7a4e-0c2f-4c55-9d3e-1f7a2b3c4d5e:fx";
constexpr PairListTiming kQuick{2000ms, 20ms, 40ms, 1h};

// DeepL's /v2/languages and /v2/translate as documented. A translation is the target
// code and the text ("EN-US:你好"); a request over 128 KiB is refused with 413, one of
// more than 50 texts with 400.
class FakeDeepL
{
public:
    FakeDeepL()
    {
        http.server().Get("/v2/languages", [this](const auto &req, auto &res) {
            if (!authorized(req, res))
                return;
            const std::string type = req.get_param_value("type");
            res.set_content(type == "source" ? R"([{"language":"EN","name":"English"},
                {"language":"JA","name":"Japanese"},{"language":"KO","name":"Korean"},
                {"language":"PT","name":"Portuguese"},{"language":"ZH","name":"Chinese"}])"
                                             : R"j([{"language":"EN-GB","name":"English (British)"},
                {"language":"EN-US","name":"English (American)"},{"language":"JA","name":"Japanese"},
                {"language":"KO","name":"Korean"},{"language":"PT-BR","name":"Portuguese (Brazilian)"},
                {"language":"PT-PT","name":"Portuguese"},{"language":"ZH","name":"Chinese (simplified)"},
                {"language":"ZH-HANS","name":"Chinese (simplified)"},{"language":"CA","name":"Catalan"}])j",
                            "application/json");
        });
        http.server().Post("/v2/translate", [this](const auto &req, auto &res) {
            if (!authorized(req, res))
                return;
            const std::lock_guard lock(m_mutex);
            m_bodies.push_back(req.body);
            if (m_status != 200) {
                res.status = m_status;
                return res.set_content(R"({"message":"failed"})", "application/json");
            }
            const QJsonObject request =
                QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
            const QJsonArray texts = request.value(u"text").toArray();
            if (req.body.size() > 128 * 1024 || texts.size() > 50 ||
                req.get_header_value("Content-Type") != "application/json") {
                res.status = req.body.size() > 128 * 1024 ? 413 : 400;
                return;
            }
            QJsonArray translations;
            const QString target = request.value(u"target_lang").toString();
            for (const QJsonValue &text : texts)
                translations.append(QJsonObject{{"detected_source_language", "ZH"},
                                                {"text", target + ":" + text.toString()}});
            res.set_content(
                QJsonDocument(QJsonObject{{"translations", translations}}).toJson().toStdString(),
                "application/json");
        });
        http.start();
    }

    std::string url() const { return http.address() + "/v2/translate"; }
    void failWith(int status)
    {
        const std::lock_guard lock(m_mutex);
        m_status = status;
    }
    std::vector<std::string> bodies() const
    {
        const std::lock_guard lock(m_mutex);
        return m_bodies;
    }
    std::vector<std::string> targets() const
    {
        const std::lock_guard lock(m_mutex);
        return m_targets;
    }

private:
    bool authorized(const httplib::Request &req, httplib::Response &res)
    {
        const std::lock_guard lock(m_mutex);
        m_targets.push_back(req.target);
        if (req.get_header_value("Authorization") == std::string("DeepL-Auth-Key ") + kKey &&
            !req.has_param("auth_key"))
            return true;
        res.status = 403;
        return false;
    }

    FakeHttpServer http;
    mutable std::mutex m_mutex;
    int m_status = 200;
    std::vector<std::string> m_bodies;
    std::vector<std::string> m_targets;
};

class DeepL : public ::testing::Test
{
protected:
    FakeDeepL fake;
    DeepLBackend deepl{kKey, fake.url(), kQuick};

    void SetUp() override { ASSERT_TRUE(deepl.waitForLanguages(Clock::now() + 5s)); }
    Translation translate(const std::string &text, const LanguagePair &pair = {"zh-CN", "en"})
    {
        return deepl.translate(text, pair, Clock::now() + 5s);
    }
};

} // namespace

TEST(DeepLAddress, FreeKeysUseTheFreeHostAndTheSettingOverridesBoth)
{
    EXPECT_EQ(deeplTranslateUrl("abc:fx", ""), "https://api-free.deepl.com/v2/translate");
    EXPECT_EQ(deeplTranslateUrl("abc", ""), "https://api.deepl.com/v2/translate");
    EXPECT_EQ(deeplTranslateUrl("abc:fx", "http://proxy/v2/translate"),
              "http://proxy/v2/translate");
    EXPECT_EQ(deeplLanguagesPath("/v2/translate"), "/v2/languages");
    EXPECT_EQ(deeplLanguagesPath("/deepl/v2/translate"), "/deepl/v2/languages");
    EXPECT_EQ(deeplLanguagesPath("/translate"), "/v2/languages");
}

TEST_F(DeepL, TheServersCodesMapToItsListedCodes)
{
    const std::pair<LanguagePair, const char *> rows[] = {
        {{"zh-CN", "en"}, "ZH EN-US"},
        {{"zh-TW", "en"}, "ZH EN-US"},
        {{"en", "zh-CN"}, "EN ZH-HANS"},
        {{"en", "zh-TW"}, "EN ZH-HANT"}, // documented, not listed
        {{"ja", "ko"}, "JA KO"},
        {{"en", "pt"}, "EN PT-BR"},
        {{"ko", "zh-CN"}, "KO ZH-HANS"},
        {{"zh-CN", "zh-TW"}, ""},
        {{"en", "fr"}, ""},
        {{"xx", "en"}, ""},
    };
    for (const auto &[pair, codes] : rows) {
        const auto found = deepl.codes(pair);
        EXPECT_EQ(found ? found->first + " " + found->second : "", codes)
            << pair.from << " " << pair.to;
        EXPECT_EQ(deepl.offers(pair), *codes ? Offer::Yes : Offer::No);
    }
    EXPECT_EQ(fake.targets()[0], "/v2/languages?type=source");
    EXPECT_EQ(fake.targets()[1], "/v2/languages?type=target");
}

TEST_F(DeepL, LinesComeBackAsSentOneTextEachWithTheKeyInTheHeaderOnly)
{
    const Translation t = translate("  第一行。\r\n\r\n第二行 \n\t\n");
    ASSERT_EQ(t.status, 200) << t.reason;
    EXPECT_EQ(t.text, "  EN-US:第一行。\r\n\r\nEN-US:第二行 \n\t\n");
    const QJsonObject sent =
        QJsonDocument::fromJson(QByteArray::fromStdString(fake.bodies().back())).object();
    EXPECT_EQ(sent.value(u"text").toArray(), (QJsonArray{"第一行。", "第二行"}));
    EXPECT_EQ(sent.value(u"source_lang").toString(), "ZH");
    EXPECT_EQ(sent.value(u"target_lang").toString(), "EN-US");
    EXPECT_EQ(sent.value(u"preserve_formatting").toBool(), true);
    EXPECT_EQ(fake.targets().back(), "/v2/translate");
}

TEST_F(DeepL, QuotaRateKeyAndServerFailuresAreShortReasonsWithoutTheKey)
{
    const std::pair<int, const char *> rows[] = {
        {456, "deepl: quota exceeded (456)"}, {429, "deepl: too many requests (429)"},
        {403, "deepl refused the key (403)"}, {500, "deepl answered 500"},
        {400, "deepl answered 400: failed"},
    };
    for (const auto &[status, reason] : rows) {
        fake.failWith(status);
        const Translation t = translate("你好");
        EXPECT_EQ(t.outcome, Translation::Outcome::Failed) << status;
        EXPECT_EQ(t.reason, reason);
        EXPECT_EQ(t.reason.find("5b1d7a4e"), std::string::npos);
    }
}

TEST_F(DeepL, ALongPassageGoesInRequestsWithinItsLimitsJoinedInOrder)
{
    std::string passage;
    for (int i = 0; i < 400; ++i)
        passage += "第" + std::to_string(i) + "行" + std::string(600, 'x') + "。\n";
    // One line longer than a text may be (40 KB): cut at a sentence end into two texts.
    for (int i = 0; i < 40; ++i)
        passage += std::string(1000, 'y') + ". ";
    const Translation t = translate(passage);
    ASSERT_EQ(t.status, 200) << t.reason;
    EXPECT_GE(fake.bodies().size(), 9u); // 402 texts, at most 50 a request
    QString text = QString::fromStdString(t.text);
    EXPECT_EQ(text.count(u"EN-US:"), 402);
    EXPECT_TRUE(text.startsWith(u"EN-US:第0行"));
    EXPECT_TRUE(text.remove(QStringLiteral("EN-US:")).toStdString() == passage);
}

TEST(DeepLList, ARefusedKeyLeavesTheListUnknownAndIsLoggedWithoutTheKey)
{
    FakeDeepL fake;
    std::mutex mutex;
    std::vector<std::string> lines;
    const DeepLBackend deepl("wrong-key-123", fake.url(), kQuick, [&](const std::string &line) {
        const std::lock_guard lock(mutex);
        lines.push_back(line);
    });
    EXPECT_FALSE(deepl.waitForLanguages(Clock::now() + 300ms));
    EXPECT_EQ(deepl.offers({"zh-CN", "en"}), Offer::NotKnownYet);
    EXPECT_EQ(deepl.listError(), "deepl refused the key (403)");
    const std::lock_guard lock(mutex);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "deepl not ready (asked again later): deepl refused the key (403)");
}

TEST(DeepLWire, TheTranslateRequestAsItLeaves)
{
    mirel::test::ScriptedServer server;
    const QByteArray json = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: ";
    const auto reply = [&](const QByteArray &body) {
        return json + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    };
    server.reply(reply(R"([{"language":"ZH","name":"Chinese"}])"));
    server.reply(reply(R"j([{"language":"EN-US","name":"English (American)"}])j"));
    server.reply(reply(R"({"translations":[{"detected_source_language":"ZH","text":"Hi"}]})"));
    const DeepLBackend deepl(kKey, server.baseUrl().toStdString() + "/v2/translate", kQuick);
    ASSERT_TRUE(deepl.waitForLanguages(Clock::now() + 5s));
    EXPECT_EQ(deepl.translate("你好", {"zh-CN", "en"}, Clock::now() + 5s).text, "Hi");
    ASSERT_EQ(server.requests().size(), 3);
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.port());
    const QByteArray body =
        R"({"preserve_formatting":true,"source_lang":"ZH","target_lang":"EN-US","text":["你好"]})";
    const QByteArray expected = "POST /v2/translate HTTP/1.1\r\n"
                                "Accept: application/json\r\n"
                                "Authorization: DeepL-Auth-Key " +
                                QByteArray(kKey) +
                                "\r\n"
                                "Content-Length: " +
                                QByteArray::number(body.size()) +
                                "\r\n"
                                "Content-Type: application/json\r\n"
                                "Host: " +
                                host +
                                "\r\n"
                                "User-Agent: cpp-httplib/0.11.4\r\n\r\n" +
                                body;
    EXPECT_EQ(server.requests()[2].toStdString(), expected.toStdString());
    EXPECT_TRUE(server.requests()[0].startsWith("GET /v2/languages?type=source HTTP/1.1\r\n"));
}

// The site server with a DeepL key: the Google form's Chinese goes to DeepL; when DeepL's
// quota is spent the glossary answers instead, and nothing the window sees holds the key.
class DeepLInTheServer : public SiteServerFixture
{
protected:
    void SetUp() override
    {
        SiteOptions options;
        options.services.set("deepl-key", kKey);
        options.services.set("deepl-url", fake.url());
        start(options);
    }
    FakeDeepL fake;
};

TEST_F(DeepLInTheServer, TranslatesAndHandsOverWhenItsQuotaIsSpent)
{
    const auto ask = [this] {
        return post("/", "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" +
                             formValue("你好") + "&file=&sl=zh-CN&tl=en");
    };
    // The list is read in the background: until then the glossary answers.
    httplib::Result res = ask();
    for (int i = 0; i < 100 && res && res->get_header_value("X-Translated-By").rfind("deepl", 0);
         ++i) {
        std::this_thread::sleep_for(20ms);
        res = ask();
    }
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200) << res->body;
    EXPECT_NE(res->body.find("EN-US:你好"), std::string::npos);
    EXPECT_EQ(res->get_header_value("X-Translated-By").rfind("deepl ", 0), 0u);

    fake.failWith(456);
    res = ask();
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200) << res->body;
    const std::string by = res->get_header_value("X-Translated-By");
    EXPECT_EQ(by.rfind("deepl failed (503) ", 0), 0u) << by;
    EXPECT_NE(by.find(", glossary "), std::string::npos) << by;
    EXPECT_EQ((by + res->body).find("5b1d7a4e"), std::string::npos);
}

TEST_F(DeepL, ABetaLanguageIsAskedForWithTheBetaFlagOnly)
{
    for (const auto &[code, beta] : std::initializer_list<std::pair<const char *, bool>>{
             {"CA", true}, {"HI", true}, {"YUE", true}, {"EN-US", false}, {"ZH-HANT", false}})
        EXPECT_EQ(deeplBetaLanguage(code), beta) << code;
    struct Row
    {
        const char *to;
        const char *text;
        bool flag;
    };
    for (const Row &row : {Row{"ca", "CA:你好", true}, Row{"en", "EN-US:你好", false}}) {
        const Translation t = deepl.translate("你好", {"zh-CN", row.to}, Clock::now() + 5s);
        EXPECT_EQ(t.text, row.text) << t.reason;
        const QJsonObject sent =
            QJsonDocument::fromJson(QByteArray::fromStdString(fake.bodies().back())).object();
        EXPECT_EQ(sent.contains(u"enable_beta_languages"), row.flag) << row.to;
        if (row.flag) {
            EXPECT_EQ(sent.value(u"enable_beta_languages"), QJsonValue(true));
        }
    }
}
