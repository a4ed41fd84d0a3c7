// An OpenAI-compatible chat endpoint against a fake written from the documented request
// and answer (OpenAI's, Ollama's and llama.cpp's): the path, the model, a temperature only
// when set, no stream, the Bearer header only with a key, a reasoning block dropped, an
// answer cut at the token limit refused, line breaks kept, the two error shapes, and a
// slow model that leaves the next backend time to answer.
#include "FakeHttpServer.h"
#include "ScriptedServer.h"
#include "SiteServerFixture.h"

#include "sites/gateway/TranslationGateway.h"
#include "sites/services/OpenAiBackend.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <mutex>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

// POST /v1/chat/completions for the model "qwen3:8b". It refuses a request that does not
// look as documented with 400, and by default one holding a temperature as OpenAI's
// reasoning models do; it answers a wrong key with 401 and an unknown model with 404, each
// in OpenAI's error shape; its answer is the content it was given (with the finish reason
// given), or the error it was told to give.
class FakeChat
{
public:
    explicit FakeChat(std::string key = {}) : m_key(std::move(key))
    {
        http.server().Post("/v1/chat/completions", [this](const auto &req, auto &res) {
            const QJsonObject body =
                QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
            const std::lock_guard lock(m_mutex);
            m_requests.push_back(body);
            const auto error = [&res](int status, const std::string &message) {
                res.status = status;
                res.set_content(R"({"error":{"message":")" + message + R"(","type":"x"}})",
                                "application/json");
            };
            const std::string auth = req.get_header_value("Authorization");
            if (m_key.empty() ? req.has_header("Authorization") : auth != "Bearer " + m_key)
                return error(401, "Incorrect API key provided: " + auth);
            if (body.value(u"model").toString() != u"qwen3:8b")
                return error(404, "model not found, try pulling it first");
            if (body.contains(u"temperature") && !m_temperatureTaken)
                return error(
                    400, "Unsupported value: 'temperature' does not support " +
                             QString::number(body.value(u"temperature").toDouble()).toStdString() +
                             " with this model. Only the default (1) value is supported.");
            if (body.value(u"stream") != QJsonValue(false) ||
                body.value(u"messages").toArray().size() != 2)
                return error(400, "unexpected request");
            if (m_delay.count())
                std::this_thread::sleep_for(m_delay);
            if (!m_failure.empty()) {
                res.status = m_status;
                return res.set_content(m_failure, "application/json");
            }
            const QString content =
                m_answer.isEmpty() ? body.value(u"messages")[1][u"content"].toString() : m_answer;
            const QJsonObject message{{"role", "assistant"}, {"content", content}};
            res.set_content(
                QJsonDocument(
                    QJsonObject{{"choices", QJsonArray{QJsonObject{{"index", 0},
                                                                   {"message", message},
                                                                   {"finish_reason", m_finish}}}}})
                    .toJson()
                    .toStdString(),
                "application/json");
        });
        http.start();
    }

    std::string base() const { return http.address() + "/v1"; }
    // The content of every answer; empty: the user's text sent back.
    void answer(const QString &content)
    {
        const std::lock_guard lock(m_mutex);
        m_answer = content;
    }
    void fail(int status, std::string body)
    {
        const std::lock_guard lock(m_mutex);
        m_status = status;
        m_failure = std::move(body);
    }
    void finish(const QString &reason)
    {
        const std::lock_guard lock(m_mutex);
        m_finish = reason;
    }
    // A model that takes a temperature.
    void takeTemperature()
    {
        const std::lock_guard lock(m_mutex);
        m_temperatureTaken = true;
    }
    void delay(std::chrono::milliseconds time)
    {
        const std::lock_guard lock(m_mutex);
        m_delay = time;
    }
    std::vector<QJsonObject> requests() const
    {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    FakeHttpServer http;
    std::string m_key;
    mutable std::mutex m_mutex;
    QString m_answer;
    QString m_finish = QStringLiteral("stop");
    bool m_temperatureTaken = false;
    int m_status = 200;
    std::string m_failure;
    std::chrono::milliseconds m_delay{0};
    std::vector<QJsonObject> m_requests;
};

Translation translate(const OpenAiBackend &backend, const std::string &text,
                      const LanguagePair &pair = {"zh-CN", "en"})
{
    return backend.translate(text, pair, Clock::now() + 5s);
}

// The next backend in line: answers at once.
class Ready : public TranslationBackend
{
public:
    std::string name() const override { return "glossary"; }
    Offer offers(const LanguagePair &) const override { return Offer::Yes; }
    Translation translate(const std::string &, const LanguagePair &,
                          Clock::time_point) const override
    {
        return Translation::translated("from the glossary");
    }
};

} // namespace

TEST(OpenAiAnswer, AReasoningBlockAndTheBlanksAroundAreNotTheTranslation)
{
    const std::pair<const char *, std::optional<std::string>> rows[] = {
        {"Hello", "Hello"},
        {"\n\n  Hello.\nBye.  \n", "Hello.\nBye."},
        {"<think>\nzh to en...\n</think>\n\nHello", "Hello"},
        {"  <think></think>Hello", "Hello"},
        {"Hello <think>x</think>", "Hello <think>x</think>"},
        {"The user wants English.\n</think>\n\nHello", "Hello"},
        {"</think>Hello", "Hello"},
        {"reasoning cut off</think>", std::nullopt},
        {"<think>ran out of tokens", std::nullopt},
        {"<think>x</think>\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &[content, text] : rows)
        EXPECT_EQ(modelText(content), text) << content;
}

TEST(OpenAiInstruction, NamesBothLanguagesInEnglish)
{
    EXPECT_EQ(translationInstruction("en", "zh-TW"),
              "You are a translation engine. Translate the user's text from English into "
              "Traditional Chinese (Taiwan). Answer with the translation in Traditional Chinese "
              "(Taiwan) only: no explanations, notes, quotation marks or labels. Keep every line "
              "break and blank line where the text has one.");
    EXPECT_NE(translationInstruction("zh-CN", "ja").find("from Simplified Chinese into Japanese"),
              std::string::npos);
}

TEST(OpenAiTuning, TemperatureAndPieceSizeFromTheSettings)
{
    using Setting = std::optional<std::string>;
    struct Row
    {
        Setting temperature, pieceBytes;
        std::optional<double> taken;
        size_t bytes;
        const char *error;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, std::nullopt, 1500, ""},
        {"", "", std::nullopt, 1500, ""},
        {"0", "4000", 0.0, 4000, ""},
        {"0.3", "200", 0.3, 200, ""},
        {"2.5", std::nullopt, std::nullopt, 0,
         "openai-temperature must be a number from 0 to 2: 2.5"},
        {"warm", std::nullopt, std::nullopt, 0,
         "openai-temperature must be a number from 0 to 2: warm"},
        {std::nullopt, "199", std::nullopt, 0,
         "openai-piece-bytes must be a number of bytes, at least 200: 199"},
        {std::nullopt, "4k", std::nullopt, 0,
         "openai-piece-bytes must be a number of bytes, at least 200: 4k"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.temperature.value_or("-") + " " + row.pieceBytes.value_or("-"));
        try {
            const OpenAiTuning tuning = openAiTuning(row.temperature, row.pieceBytes);
            EXPECT_EQ(tuning.temperature, row.taken);
            EXPECT_EQ(tuning.pieceBytes, row.bytes);
            EXPECT_STREQ("", row.error);
        } catch (const std::invalid_argument &e) {
            EXPECT_STREQ(e.what(), row.error);
        }
    }
}

TEST(OpenAi, ATemperatureIsSentOnlyWhenSet)
{
    FakeChat fake; // refuses any temperature, as reasoning models do
    const OpenAiBackend plain(fake.base(), "qwen3:8b", "");
    const Translation t = translate(plain, "你好");
    EXPECT_EQ(t.text, "你好") << t.reason;
    EXPECT_FALSE(fake.requests().back().contains(u"temperature"));

    const OpenAiBackend tuned(fake.base(), "qwen3:8b", "", openAiTuning("0.3", std::nullopt));
    EXPECT_EQ(translate(tuned, "你好").reason,
              "openai answered 400: Unsupported value: 'temperature' does not support 0.3 with "
              "this model. Only the default (1) value is supported.");
    fake.takeTemperature();
    EXPECT_EQ(translate(tuned, "你好").text, "你好");
    EXPECT_EQ(fake.requests().back().value(u"temperature"), QJsonValue(0.3));
}

TEST(OpenAi, AnAnswerCutAtTheTokenLimitIsNoTranslation)
{
    FakeChat fake;
    const OpenAiBackend backend(fake.base(), "qwen3:8b", "");
    fake.finish(QStringLiteral("length"));
    const Translation t = translate(backend, "我喜欢读书。");
    EXPECT_EQ(t.outcome, Translation::Outcome::Failed);
    EXPECT_EQ(t.status, 502);
    EXPECT_EQ(t.text, "");
    EXPECT_EQ(t.reason, "openai: the answer was cut at the model's token limit (finish_reason "
                        "length); a smaller openai-piece-bytes helps");
}

TEST(OpenAi, OffersEveryPairOfTwoKnownLanguages)
{
    const OpenAiBackend backend("http://127.0.0.1:9/v1", "m", "");
    EXPECT_EQ(backend.offers({"zh-CN", "en"}), Offer::Yes);
    EXPECT_EQ(backend.offers({"ko", "zh-TW"}), Offer::Yes);
    EXPECT_EQ(backend.offers({"en", "en"}), Offer::No);
    EXPECT_EQ(backend.offers({"en", "xx"}), Offer::No);
}

TEST(OpenAi, TheRequestAsDocumentedWithABearerHeaderOnlyWithAKey)
{
    for (const std::string key : {"", "sk-test-key"}) {
        FakeChat fake(key);
        const OpenAiBackend backend(fake.base(), "qwen3:8b", key);
        fake.answer(
            QStringLiteral("<think>\nThe user wants English.\n</think>\n\nI like reading.\n"));
        const Translation t = translate(backend, "\n我喜欢读书。\n\n");
        ASSERT_EQ(t.status, 200) << key << ": " << t.reason;
        EXPECT_EQ(t.text, "\nI like reading.\n\n");
        const QJsonArray messages = fake.requests().back().value(u"messages").toArray();
        EXPECT_EQ(messages[0][u"role"], "system");
        EXPECT_EQ(messages[0][u"content"].toString().toStdString(),
                  translationInstruction("zh-CN", "en"));
        EXPECT_EQ(messages[1][u"role"], "user");
        EXPECT_EQ(messages[1][u"content"], QStringLiteral("我喜欢读书。"));
    }
}

TEST(OpenAi, LinesComeBackAsTheSourceWritesThem)
{
    FakeChat fake;
    const OpenAiBackend backend(fake.base(), "qwen3:8b", "");
    fake.answer(QStringLiteral("One.\n\nTwo.\n"));
    EXPECT_EQ(translate(backend, "一。\r\n\r\n二。").text, "One.\r\n\r\nTwo.");
    fake.answer({});
    std::string passage;
    for (int i = 0; i < 300; ++i)
        passage += "第" + std::to_string(i) + "句话在这里。\n";
    const Translation t = translate(backend, passage);
    EXPECT_TRUE(t.text == passage);
    // Cut at line ends into pieces of at most 1,500 bytes, or as many as set.
    const auto sent = fake.requests();
    EXPECT_GE(sent.size(), passage.size() / 1500);
    for (const QJsonObject &request : sent)
        EXPECT_LE(request.value(u"messages")[1][u"content"].toString().toUtf8().size(), 1500);
    const OpenAiBackend larger(fake.base(), "qwen3:8b", "", openAiTuning(std::nullopt, "4000"));
    EXPECT_TRUE(translate(larger, passage).text == passage);
    EXPECT_EQ(fake.requests().size() - sent.size(), passage.size() / 4000 + 1);
}

TEST(OpenAi, ErrorsInBothShapesAreShortReasonsWithoutTheKey)
{
    struct Row
    {
        int status;
        const char *body;
        int answer;
        const char *reason;
    };
    const Row rows[] = {
        {404, R"({"error":{"message":"model \"qwen3:8b\" not found","type":"api_error"}})", 502,
         "openai answered 404: model \"qwen3:8b\" not found"},
        {500, R"({"error":"llama runner process has terminated"})", 503,
         "openai answered 500: llama runner process has terminated"},
        {429, R"({"error":{"message":"Rate limit reached"}})", 503,
         "openai answered 429: Rate limit reached"},
        {400, R"({"error":{"message":"bad key sk-test-key here"}})", 502,
         "openai answered 400: bad key *** here"},
        {200, R"({"choices":[]})", 502, "openai: the answer has no choices[0].message.content"},
    };
    FakeChat fake("sk-test-key");
    const OpenAiBackend backend(fake.base(), "qwen3:8b", "sk-test-key");
    for (const Row &row : rows) {
        fake.fail(row.status, row.body);
        const Translation t = translate(backend, "你好");
        EXPECT_EQ(t.status, row.answer) << row.body;
        EXPECT_EQ(t.reason, row.reason);
    }
    const OpenAiBackend wrongKey(fake.base(), "qwen3:8b", "sk-wrong");
    EXPECT_EQ(translate(wrongKey, "你好").reason, "openai refused the key (401)");
}

TEST(OpenAi, TheStatusFollowsTheAccountsLastAnswer)
{
    FakeChat fake("sk-test-key");
    const OpenAiBackend backend(fake.base(), "qwen3:8b", "sk-test-key");
    const OpenAiBackend wrongKey(fake.base(), "qwen3:8b", "sk-wrong");
    EXPECT_EQ(backend.reach(), Reach::Known);
    translate(wrongKey, "你好");
    EXPECT_EQ(wrongKey.reach(), Reach::Refused);
    const std::pair<const char *, Reach> rows[] = {
        {R"({"error":{"message":"You exceeded your current quota","code":"insufficient_quota"}})",
         Reach::Exhausted},
        {R"({"error":{"message":"Rate limit reached","code":"rate_limit_exceeded"}})",
         Reach::Exhausted}, // a passing limit leaves the state as it was
        {"", Reach::Known},
    };
    for (const auto &[body, reach] : rows) {
        fake.fail(429, body);
        translate(backend, "你好");
        EXPECT_EQ(backend.reach(), reach) << body;
    }
}

TEST(OpenAi, ASlowModelLeavesTheNextBackendTimeWithinTheLimit)
{
    FakeChat fake;
    fake.delay(1500ms);
    TranslationGateway gateway(1000ms);
    gateway.add(std::make_unique<OpenAiBackend>(fake.base(), "qwen3:8b", ""));
    gateway.add(std::make_unique<Ready>());
    const auto start = Clock::now();
    const GatewayAnswer answer = gateway.translate("你好", {"zh-CN", "en"});
    EXPECT_LT(Clock::now() - start, 1100ms);
    EXPECT_EQ(answer.translation.text, "from the glossary");
    EXPECT_EQ(answer.note().rfind("openai failed (503) ", 0), 0u) << answer.note();
}

TEST(OpenAiWire, TheChatRequestAsItLeaves)
{
    mirel::test::ScriptedServer server;
    const QByteArray body = R"({"choices":[{"message":{"role":"assistant","content":"Hi"}}]})";
    server.reply("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\n\r\n" + body);
    const OpenAiBackend backend(server.baseUrl().toStdString() + "/v1", "llama3", "");
    EXPECT_EQ(translate(backend, "你好", {"zh-CN", "ja"}).text, "Hi");
    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray sent =
        R"({"messages":[{"content":")" +
        QByteArray::fromStdString(translationInstruction("zh-CN", "ja")) +
        R"(","role":"system"},{"content":"你好","role":"user"}],"model":"llama3","stream":false})";
    const QByteArray expected = "POST /v1/chat/completions HTTP/1.1\r\n"
                                "Accept: application/json\r\n"
                                "Content-Length: " +
                                QByteArray::number(sent.size()) +
                                "\r\n"
                                "Content-Type: application/json\r\n"
                                "Host: 127.0.0.1:" +
                                QByteArray::number(server.port()) +
                                "\r\n"
                                "User-Agent: cpp-httplib/0.11.4\r\n\r\n" +
                                sent;
    EXPECT_EQ(server.requests()[0].toStdString(), expected.toStdString());
}

// The site server with a local model configured: the Google form's Japanese goes to it.
class ChatInTheServer : public SiteServerFixture
{
protected:
    void SetUp() override
    {
        mirel::siteserver::SiteOptions options;
        options.services.set("openai-url", fake.base());
        options.services.set("openai-model", "qwen3:8b");
        start(options);
    }
    FakeChat fake;
};

TEST_F(ChatInTheServer, TranslatesAPairTheWindowOffers)
{
    fake.answer(QStringLiteral("<think>ok</think>我喜欢读书。"));
    const auto res =
        post("/", "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" +
                      formValue("私は本を読むのが好きです。") + "&file=&sl=ja&tl=zh-CN");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200) << res->body;
    EXPECT_NE(res->body.find("我喜欢读书。"), std::string::npos);
    EXPECT_EQ(res->get_header_value("X-Translated-By").rfind("openai ", 0), 0u);
}
