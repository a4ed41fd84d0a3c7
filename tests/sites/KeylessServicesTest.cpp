// The keyless services (Google's web endpoint, Edge's translator, Volcengine's extension
// endpoint) beyond their recorded answers: the pure encoders, long passages in pieces, the
// echo rule, and their place behind the gateway.
#include "FakeHttpServer.h"

#include "sites/keyless/EdgeBackend.h"
#include "sites/keyless/GoogleWebBackend.h"
#include "sites/keyless/KeylessAnswer.h"
#include "sites/keyless/VolcengineWebBackend.h"
#include "sites/server/SiteServer.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

using namespace std::chrono_literals;
using namespace mirel::siteserver;

namespace {

struct KeylessService
{
    std::string name;
    std::string vendorPath; // the path of the vendor's own address
    std::function<std::unique_ptr<TranslationBackend>(const ServiceEndpoint &)> make;
};

const std::vector<KeylessService> &keylessServices()
{
    static const std::vector<KeylessService> services{
        {"google-web", "/translate_a/single",
         [](const ServiceEndpoint &e) { return std::make_unique<GoogleWebBackend>(e); }},
        {"edge", "/translate/translatetext",
         [](const ServiceEndpoint &e) { return std::make_unique<EdgeBackend>(e); }},
        {"volcengine-web", "/crx/translate/v1/",
         [](const ServiceEndpoint &e) { return std::make_unique<VolcengineWebBackend>(e); }},
    };
    return services;
}

const LanguagePair kStandardPair{"zh-CN", "en"};

} // namespace

TEST(KeylessAnswers, APassageOfMoreThanTwentyCharactersGivenBackIsNoTranslation)
{
    const std::string twenty = "一二三四五六七八九十一二三四五六七八九十";
    struct Row
    {
        const char *name;
        std::string source, translation;
        bool echoed;
    };
    const Row rows[] = {
        {"a short passage may stay as it is", "你好，世界。", "你好，世界。", false},
        {"twenty characters may stay", twenty, twenty, false},
        {"twenty-one given back", twenty + "。", twenty + "。", true},
        {"blanks around do not hide it", twenty + "。", "  " + twenty + "。\n", true},
        {"Latin text given back", "The quick brown fox jumps.", "The quick brown fox jumps.", true},
        {"translated", twenty + "。", "One two three four five.", false},
    };
    for (const Row &row : rows)
        EXPECT_EQ(echoedBack(row.source, row.translation), row.echoed) << row.name;
}

TEST(KeylessRequests, WholeRequestsOfThePureEncoders)
{
    struct Row
    {
        const char *name;
        HttpCall call;
        std::string method, path, body, contentType;
    };
    const std::string form = "application/x-www-form-urlencoded";
    const Row rows[] = {
        {"google: a short text in the query", googleWebCall("/s", "a b&c", "zh-CN", "en", 18),
         "GET", "/s?client=gtx&sl=zh-CN&tl=en&dt=t&q=a%20b%26c", "", ""},
        {"google: at the query's limit still a GET", googleWebCall("/s", "你好", "zh-TW", "iw", 18),
         "GET", "/s?client=gtx&sl=zh-TW&tl=iw&dt=t&q=%E4%BD%A0%E5%A5%BD", "", ""},
        {"google: a longer one posted as a form", googleWebCall("/s", "你好", "zh-CN", "en", 17),
         "POST", "/s?client=gtx&sl=zh-CN&tl=en&dt=t", "q=%E4%BD%A0%E5%A5%BD", form},
        {"edge: quotes and line breaks in a JSON array",
         edgeCall("/t", "He said \"hi\"\n\\", "en", "zh-Hant"), "POST",
         "/t?from=en&to=zh-Hant&isEnterpriseClient=false", R"(["He said \"hi\"\n\\"])",
         "application/json"},
        {"volcengine: the JSON object",
         {"POST", "/v", volcengineWebBody("a\"b\n", "en", "zh"), "application/json"},
         "POST",
         "/v",
         R"({"source_language":"en","target_language":"zh","text":"a\"b\n"})",
         "application/json"},
    };
    // The full address as given: Volcengine's ends in "/".
    EXPECT_EQ(parseServiceEndpoint(VolcengineWebBackend::DefaultAddress)->path,
              "/crx/translate/v1/");
    EXPECT_EQ(parseServiceEndpoint(EdgeBackend::DefaultAddress)->path, "/translate/translatetext");
    for (const Row &row : rows) {
        EXPECT_EQ(row.call.method, row.method) << row.name;
        EXPECT_EQ(row.call.path, row.path) << row.name;
        EXPECT_EQ(row.call.body, row.body) << row.name;
        EXPECT_EQ(row.call.contentType, row.contentType) << row.name;
    }
}

TEST(KeylessRequests, VendorCodesOfTheLanguageTable)
{
    struct Row
    {
        std::string language;
        std::optional<std::string> google, edge, volcengine;
    };
    const Row rows[] = {
        {"zh-CN", "zh-CN", "zh-Hans", "zh"},
        {"zh-TW", "zh-TW", "zh-Hant", "zh-Hant"},
        {"iw", "iw", "he", "he"},
        {"no", "no", "nb", "nb"},
        {"tl", "tl", "fil", "tl"},
        {"yi", "yi", std::nullopt, std::nullopt},
        {"xx", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(googleWebLanguage(row.language), row.google) << row.language;
        EXPECT_EQ(edgeLanguage(row.language), row.edge) << row.language;
        EXPECT_EQ(volcengineWebLanguage(row.language), row.volcengine) << row.language;
    }
}

namespace {

std::string formQ(const std::string &body);

// A vendor that translates each request by putting its text in brackets (or gives it
// back as it is), in the vendor's own format, and keeps the texts it was sent.
class BracketingVendor
{
public:
    BracketingVendor(std::string service, bool echo) : m_service(std::move(service))
    {
        const auto handler = [this, echo](const httplib::Request &req, httplib::Response &res) {
            const std::string text = sentText(req);
            {
                const std::lock_guard lock(m_mutex);
                m_texts.push_back(text);
                m_methods.push_back(req.method);
            }
            const QString out = QString::fromStdString(echo ? text : "[" + text + "]");
            QJsonDocument answer;
            if (m_service == "google-web")
                answer = QJsonDocument(QJsonArray{QJsonArray{QJsonArray{out, "source"}}});
            else if (m_service == "edge")
                answer = QJsonDocument(QJsonArray{QJsonObject{
                    {"translations", QJsonArray{QJsonObject{{"text", out}, {"to", "en"}}}}}});
            else
                answer = QJsonDocument(QJsonObject{{"translation", out},
                                                   {"base_resp", QJsonObject{{"status_code", 0}}}});
            res.set_content(answer.toJson().toStdString(), "application/json");
        };
        m_fake.server().Get(".*", handler);
        // Read as it comes: the fake's own form parsing stops at 8 KiB, the vendor's does not.
        m_fake.server().Post(".*", [handler](const httplib::Request &req, httplib::Response &res,
                                             const httplib::ContentReader &reader) {
            httplib::Request read = req;
            reader([&read](const char *data, size_t size) {
                read.body.append(data, size);
                return true;
            });
            handler(read, res);
        });
        m_fake.start();
    }
    std::string address() const { return m_fake.address(); }
    std::vector<std::string> texts() const
    {
        const std::lock_guard lock(m_mutex);
        return m_texts;
    }
    std::vector<std::string> methods() const
    {
        const std::lock_guard lock(m_mutex);
        return m_methods;
    }

private:
    std::string sentText(const httplib::Request &req) const
    {
        if (m_service == "google-web")
            return req.method == "GET" ? req.get_param_value("q") : formQ(req.body);
        const QJsonDocument sent = QJsonDocument::fromJson(QByteArray::fromStdString(req.body));
        return (m_service == "edge" ? sent.array().at(0) : sent.object().value("text"))
            .toString()
            .toStdString();
    }

    std::string m_service;
    FakeHttpServer m_fake;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts, m_methods;
};

std::string formQ(const std::string &body) // "q=<percent-encoded>"
{
    std::string out;
    for (size_t i = 2; i < body.size(); ++i)
        if (body[i] == '%' && i + 2 < body.size())
            out += static_cast<char>(std::stoi(body.substr(i + 1, 2), nullptr, 16)), i += 2;
        else
            out += body[i];
    return out;
}

std::unique_ptr<TranslationBackend> madeWith(const std::string &service, const std::string &address,
                                             std::optional<size_t> pieceLimit)
{
    const KeylessService *known = nullptr;
    for (const KeylessService &s : keylessServices())
        if (s.name == service)
            known = &s;
    const ServiceEndpoint endpoint = *parseServiceEndpoint(address + known->vendorPath);
    if (!pieceLimit)
        return known->make(endpoint);
    if (service == "google-web")
        return std::make_unique<GoogleWebBackend>(endpoint, *pieceLimit, 0ms);
    if (service == "edge")
        return std::make_unique<EdgeBackend>(endpoint, *pieceLimit, 0ms);
    return std::make_unique<VolcengineWebBackend>(endpoint, *pieceLimit, 0ms);
}

std::string withoutBrackets(std::string text)
{
    std::erase(text, '[');
    std::erase(text, ']');
    return text;
}

} // namespace

TEST(KeylessPassages, PiecesAtSentenceAndLineEndsRejoinedWithNothingAdded)
{
    const std::string passage = "第一句。第二句！\n\n第三句；第四句";
    for (const KeylessService &service : keylessServices()) {
        const BracketingVendor vendor(service.name, false);
        const auto backend = madeWith(service.name, vendor.address(), 5);
        const Translation t = backend->translate(passage, kStandardPair, Clock::now() + 10s);
        ASSERT_EQ(t.outcome, Translation::Outcome::Translated) << service.name << ": " << t.reason;
        EXPECT_EQ(t.text, "[第一句。][第二句！]\n\n[第三句；][第四句]") << service.name;
        EXPECT_EQ(vendor.texts(),
                  (std::vector<std::string>{"第一句。", "第二句！", "第三句；", "第四句"}))
            << service.name;
    }
}

TEST(KeylessPassages, APassageOfThousandsOfCharactersWithItsOwnLimits)
{
    std::string passage;
    for (int i = 0; i < 150; ++i)
        passage += "我每天早上喜欢读书，" + std::to_string(i) + "号。\n"; // about 2,300 characters
    struct Row
    {
        std::string service;
        size_t requests;
        std::vector<std::string> methods;
    };
    const Row rows[] = {
        {"google-web", 1, {"POST"}}, // the whole text as a form: too long for a query
        {"edge", 1, {"POST"}},
        {"volcengine-web", 2, {"POST", "POST"}},
    };
    for (const Row &row : rows) {
        const BracketingVendor vendor(row.service, false);
        const auto backend = madeWith(row.service, vendor.address(), std::nullopt);
        const Translation t = backend->translate(passage, kStandardPair, Clock::now() + 20s);
        ASSERT_EQ(t.outcome, Translation::Outcome::Translated) << row.service << ": " << t.reason;
        EXPECT_EQ(withoutBrackets(t.text), passage) << row.service; // nothing lost, nothing added
        EXPECT_EQ(vendor.texts().size(), row.requests) << row.service;
        EXPECT_EQ(vendor.methods(), row.methods) << row.service;
    }
}

TEST(KeylessPassages, ALongPassageGivenBackIsAFailureNotATranslation)
{
    const std::string passage = "今天天气很好，我们一起去公园散步吧，然后去吃饭。";
    for (const KeylessService &service : keylessServices()) {
        const BracketingVendor vendor(service.name, true);
        const auto backend = madeWith(service.name, vendor.address(), std::nullopt);
        const Translation t = backend->translate(passage, kStandardPair, Clock::now() + 10s);
        EXPECT_EQ(t.outcome, Translation::Outcome::Failed) << service.name << ": " << t.text;
        EXPECT_EQ(t.status, 503) << service.name;
        EXPECT_NE(t.reason.find("untranslated"), std::string::npos) << t.reason;
    }
}

TEST(KeylessAssembly, AfterTheKeyedOnesAtTheirOwnAddressesOrOff)
{
    const BracketingVendor google("google-web", false);
    SiteOptions options;
    options.services.set("baidu-app-id", "app");
    options.services.set("baidu-key", "key");
    options.services.set("baidu-url", "http://127.0.0.1:1/baidu");
    options.services.set("google-web-url", google.address() + "/translate_a/single");
    options.services.set("edge-url", "off");
    options.services.set("volcengine-web-url", "http://127.0.0.1:1/volcengine");
    const SiteServer server(options);
    std::vector<std::string> names;
    for (const TranslationBackend *backend : server.gateway()->route({"zh-CN", "en"}))
        names.push_back(backend->name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"baidu", "google-web", "volcengine-web", "glossary"}));
    const GatewayAnswer answer =
        server.gateway()->translate("我每天早上喜欢读书。", {"zh-CN", "en"});
    EXPECT_EQ(answer.translation.text, "[我每天早上喜欢读书。]");
    EXPECT_EQ(answer.backend(), "google-web");
}
