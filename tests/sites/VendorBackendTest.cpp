// Baidu, Youdao and Google Cloud against fakes written from their documentation: the
// vendors' signature examples, whole request bodies, codes, errors, long passages, and
// the services behind the window's engines through the site server.
#include "FakeHttpServer.h"
#include "FakeVendors.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "sites/services/BaiduBackend.h"
#include "sites/services/GoogleCloudBackend.h"
#include "sites/services/LibreTranslateBackend.h"
#include "sites/services/YoudaoBackend.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>

using namespace std::chrono_literals;
using namespace mirel::siteserver;
using Kind = FakeVendor::Kind;

namespace {

ServiceEndpoint endpointOf(const FakeVendor &fake)
{
    return *parseServiceEndpoint(fake.address());
}

std::string field(const FakeVendor::Request &request, const std::string &name)
{
    const auto it = request.fields.find(name);
    return it == request.fields.end() ? std::string("(none)") : it->second;
}

} // namespace

TEST(VendorSignatures, TheVendorsExamplesAndTheWrittenFormula)
{
    // Baidu's published example.
    EXPECT_EQ(baiduSign({"2015063000000001", "12345678"}, "apple", "1435660288"),
              "f89f9594663708c1605f3d736d01d2d4");
    // Youdao publishes no worked example: its formula, counted in UTF-16 units.
    struct Row
    {
        std::string q, input;
    };
    const Row rows[] = {
        {"apple", "apple"},
        {"abcdefghijklmnopqrst", "abcdefghijklmnopqrst"},
        {"abcdefghijklmnopqrstu", "abcdefghij21lmnopqrstu"},
        {"今天天气很好，我们去公园散步吧。明天见", "今天天气很好，我们去公园散步吧。明天见"},
        {"今天天气很好，我们去公园散步吧。明天再见吧",
         "今天天气很好，我们去21园散步吧。明天再见吧"},
        {"123456789😀abcdefghijk", "123456789?22bcdefghijk"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(youdaoSignInput(row.q), row.input) << row.q;
    // Digests computed once apart from this code (SHA-256 over app key, input, salt, time,
    // secret), for a short text and one of 21 characters (63 bytes of UTF-8).
    EXPECT_EQ(youdaoSign({"app-1", "secret-1"}, "apple", "salt-1", "1700000000"),
              "9a590c8bdc2e0d9a8a1e02d69c78385dacc220b3a0a6ec37e5613584a19f2086");
    EXPECT_EQ(youdaoSign({"app-1", "secret-1"}, "今天天气很好，我们去公园散步吧。明天再见吧",
                         "salt-1", "1700000000"),
              "b808f82b7130e9b83b7d3200f90c3fee85a1248b269e2eecb18ceed8379e774b");
}

TEST(YoudaoPassage, ALongTextIsSignedAsTheServiceChecksIt)
{
    FakeVendor fake(Kind::Youdao, "id-1", "key-1");
    const YoudaoBackend youdao(endpointOf(fake), {"id-1", "key-1"});
    const std::string text = "今天天气很好，我们去公园散步吧。明天再见吧！下周也一起去吧。";
    const Translation t = youdao.translate(text, {"zh-CN", "en"}, Clock::now() + 3s);
    EXPECT_EQ(t.text, "<" + text + ">") << t.reason;
    ASSERT_EQ(fake.requests().size(), 1u);
    EXPECT_EQ(field(fake.requests()[0], "q"), text);
}

TEST(VendorForms, WholeRequestBodies)
{
    EXPECT_EQ(baiduForm({"2015063000000001", "12345678"}, "apple", "en", "zh", "1435660288"),
              "q=apple&from=en&to=zh&appid=2015063000000001&salt=1435660288"
              "&sign=f89f9594663708c1605f3d736d01d2d4");
    EXPECT_EQ(
        youdaoForm({"app-1", "secret-1"}, "abcdefghijklmnopqrstu", "zh-CHS", "en", "salt-1",
                   "1700000000"),
        "q=abcdefghijklmnopqrstu&from=zh-CHS&to=en&appKey=app-1&salt=salt-1&sign=" +
            youdaoSign({"app-1", "secret-1"}, "abcdefghijklmnopqrstu", "salt-1", "1700000000") +
            "&signType=v3&curtime=1700000000&strict=true");
    EXPECT_EQ(googleCloudForm("你好\n世界 & more+1~", "zh-CN", "en"),
              "q=%E4%BD%A0%E5%A5%BD%0A%E4%B8%96%E7%95%8C%20%26%20more%2B1~&source=zh-CN"
              "&target=en&format=text");
}

TEST(VendorCodes, TheWindowsLanguagesInEachVendorsCodes)
{
    struct Row
    {
        const char *language, *baidu, *youdao, *google;
    };
    const Row rows[] = {
        {"zh-CN", "zh", "zh-CHS", "zh-CN"},
        {"zh-TW", "cht", "zh-CHT", "zh-TW"},
        {"ja", "jp", "ja", "ja"},
        {"ko", "kor", "ko", "ko"},
        {"fr", "fra", "fr", "fr"},
        {"ro", "rom", "ro", "ro"},
        {"iw", "", "he", "iw"},
        {"sr", "", "sr-Cyrl", "sr"},
        {"xx", "", "", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.language);
        EXPECT_EQ(baiduLanguage(row.language).value_or(""), row.baidu);
        EXPECT_EQ(youdaoLanguage(row.language).value_or(""), row.youdao);
        EXPECT_EQ(googleCloudLanguage(row.language).value_or(""), row.google);
    }
}

// One contract for the three: codes sent, the answer taken, refusals and failures that
// never show the secret, and how the account stands for the status page after each.
struct Refusal
{
    const char *code; // the vendor's
    int status;
    Reach after;
};
struct VendorCase
{
    const char *name;
    Kind kind;
    const char *sourceField, *targetField, *source; // how the vendor names zh-CN
    std::vector<Refusal> refusals;
};

class VendorContract : public testing::TestWithParam<VendorCase>
{
protected:
    std::unique_ptr<TranslationBackend> backend(const std::string &secret) const
    {
        return backendAt(endpointOf(fake), secret);
    }
    std::unique_ptr<TranslationBackend> backendAt(const ServiceEndpoint &endpoint,
                                                  const std::string &secret) const
    {
        switch (GetParam().kind) {
        case Kind::Baidu:
            return std::make_unique<BaiduBackend>(endpoint, BaiduAccount{"id-1", secret},
                                                  BaiduBackend::DefaultPieceLimit, 10ms);
        case Kind::Youdao:
            return std::make_unique<YoudaoBackend>(endpoint, YoudaoAccount{"id-1", secret});
        case Kind::Google:
            break;
        }
        return std::make_unique<GoogleCloudBackend>(endpoint, secret);
    }

    FakeVendor fake{GetParam().kind, "id-1", "SeCrEt-1"};
};

TEST_P(VendorContract, TranslatesWithTheVendorsCodes)
{
    const auto service = backend("SeCrEt-1");
    EXPECT_TRUE(service->serves({"zh-CN", "en"}));
    EXPECT_FALSE(service->serves({"en", "en"}));
    const Translation t = service->translate("你好 & 再见", {"zh-CN", "en"}, Clock::now() + 3s);
    EXPECT_EQ(t.text, "<你好 & 再见>") << t.reason;
    ASSERT_EQ(fake.requests().size(), 1u);
    EXPECT_EQ(field(fake.requests()[0], GetParam().sourceField), GetParam().source);
    EXPECT_EQ(field(fake.requests()[0], GetParam().targetField), "en");
    if (GetParam().kind == Kind::Youdao) {
        EXPECT_EQ(field(fake.requests()[0], "strict"), "true");
    }
}

TEST_P(VendorContract, AWrongSecretIsRefusedWithoutShowingIt)
{
    const auto check = [](const Translation &t, int status) {
        EXPECT_EQ(t.outcome, Translation::Outcome::Failed);
        EXPECT_EQ(t.status, status) << t.reason;
        EXPECT_EQ(t.reason.find("SeCrEt-1"), std::string::npos) << t.reason;
        EXPECT_FALSE(t.reason.empty());
    };
    // A wrong secret: the signature (or key) is refused.
    const auto wrong = backend("wrong");
    check(wrong->translate("你好", {"zh-CN", "en"}, Clock::now() + 3s), 502);
    EXPECT_EQ(wrong->reach(), Reach::Refused);
    const auto service = backend("SeCrEt-1");
    for (const Refusal &row : GetParam().refusals) {
        SCOPED_TRACE(row.code);
        fake.refuse(row.code);
        check(service->translate("你好", {"zh-CN", "en"}, Clock::now() + 3s), row.status);
        EXPECT_EQ(service->reach(), row.after);
    }
    fake.refuse({});
    EXPECT_EQ(service->translate("你好", {"zh-CN", "en"}, Clock::now() + 3s).status, 200);
    EXPECT_EQ(service->reach(), Reach::Known);
    // A service that is gone.
    std::optional<ServiceEndpoint> gone;
    {
        const FakeVendor closed(GetParam().kind, "id-1", "SeCrEt-1");
        gone = endpointOf(closed);
    }
    check(backendAt(*gone, "SeCrEt-1")->translate("你好", {"zh-CN", "en"}, Clock::now() + 3s), 503);
}

INSTANTIATE_TEST_SUITE_P(Vendors, VendorContract,
                         testing::Values(VendorCase{"Baidu",
                                                    Kind::Baidu,
                                                    "from",
                                                    "to",
                                                    "zh",
                                                    {{"54003", 503, Reach::Known},
                                                     {"54004", 503, Reach::Exhausted},
                                                     {"58001", 502, Reach::Exhausted},
                                                     {"54001", 502, Reach::Refused},
                                                     {"12345", 502, Reach::Refused}}},
                                         VendorCase{"Youdao",
                                                    Kind::Youdao,
                                                    "from",
                                                    "to",
                                                    "zh-CHS",
                                                    {{"411", 503, Reach::Known},
                                                     {"412", 503, Reach::Known},
                                                     {"303", 503, Reach::Known},
                                                     {"401", 503, Reach::Exhausted},
                                                     {"108", 502, Reach::Refused},
                                                     {"999", 502, Reach::Refused}}},
                                         VendorCase{"Google",
                                                    Kind::Google,
                                                    "source",
                                                    "target",
                                                    "zh-CN",
                                                    {{"429", 503, Reach::Known},
                                                     {"403", 502, Reach::Exhausted},
                                                     {"500", 503, Reach::Exhausted}}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(BaiduPassage, EmptyLinesIndentationAndLineBreaksComeBackInPlace)
{
    FakeVendor fake(Kind::Baidu, "id-1", "key-1");
    const BaiduBackend baidu(endpointOf(fake), {"id-1", "key-1"});
    const Translation t = baidu.translate("  第一行\r\n\r\n\t第二行。 \n\n第三行", {"zh-CN", "en"},
                                          Clock::now() + 3s);
    EXPECT_EQ(t.text, "  <第一行>\r\n\r\n\t<第二行。> \n\n<第三行>") << t.reason;
    ASSERT_EQ(fake.requests().size(), 1u);
    EXPECT_EQ(field(fake.requests()[0], "q"), "第一行\n第二行。\n第三行");
}

TEST(BaiduPassage, ALongPassageGoesInPacedPiecesAndComesBackExactly)
{
    FakeVendor fake(Kind::Baidu, "id-1", "key-1");
    fake.translateWith([](const std::string &line) { return line; });
    const BaiduBackend baidu(endpointOf(fake), {"id-1", "key-1"}, 40, 100ms);
    std::string passage;
    for (int i = 0; i < 6; ++i)
        passage += "今天天气很好，我们去公园散步吧。The weather is nice today.\r\n\r\n";
    const Translation t = baidu.translate(passage, {"zh-CN", "en"}, Clock::now() + 5s);
    EXPECT_EQ(t.text, passage) << t.reason;
    const auto requests = fake.requests();
    ASSERT_GT(requests.size(), 6u);
    // One request every 100 ms; arrival times jitter on a busy machine, their span does not.
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_LE(QString::fromStdString(field(requests[i], "q")).size(), 40);
        if (i > 0) {
            EXPECT_GE(requests[i].time - requests[i - 1].time, 50ms);
        }
    }
    EXPECT_GE(requests.back().time - requests.front().time, (requests.size() - 1) * 95ms);
}

TEST(BaiduPassage, APassageItsRateCannotCarryInTimeFailsAtOnce)
{
    FakeVendor fake(Kind::Baidu, "id-1", "key-1");
    const BaiduBackend baidu(endpointOf(fake), {"id-1", "key-1"}, 10, 1000ms);
    const auto began = Clock::now();
    const Translation t =
        baidu.translate(std::string(60, 'a'), {"en", "zh-CN"}, Clock::now() + 2500ms);
    EXPECT_EQ(t.status, 503);
    EXPECT_LT(Clock::now() - began, 200ms);
    EXPECT_TRUE(fake.requests().empty());
}

TEST(BaiduRate, ARequestRefusedForTheRateIsAskedOnceMoreASecondLater)
{
    FakeVendor fake(Kind::Baidu, "id-1", "key-1");
    const BaiduBackend baidu(endpointOf(fake), {"id-1", "key-1"}, 1000, 10ms);
    struct Row
    {
        int refusals;
        int status;
        size_t requests;
    };
    for (const Row &row : {Row{1, 200, 2}, Row{2, 503, 2}}) {
        SCOPED_TRACE(row.refusals);
        const size_t before = fake.requests().size();
        fake.refuse("54003", row.refusals);
        const Translation t = baidu.translate("你好", {"zh-CN", "en"}, Clock::now() + 10s);
        EXPECT_EQ(t.status, row.status) << t.reason;
        const auto requests = fake.requests();
        ASSERT_EQ(requests.size() - before, row.requests);
        EXPECT_GE(requests.back().time - requests[before].time, 950ms);
        if (row.status == 200) {
            EXPECT_EQ(t.text, "<你好>");
        }
        fake.refuse({});
    }
    // No time for the pause: the refusal is the answer at once.
    fake.refuse("54003");
    const auto began = Clock::now();
    EXPECT_EQ(baidu.translate("你好", {"zh-CN", "en"}, Clock::now() + 1200ms).status, 503);
    EXPECT_LT(Clock::now() - began, 900ms);
}

TEST(BaiduAnswer, AnEmptyOrMissingTransResultIsNoTranslation)
{
    struct Row
    {
        const char *body;
        int status;
        const char *reason;
    };
    const Row rows[] = {
        {R"({"from":"zh","to":"en","trans_result":[]})", 502,
         "baidu: the answer's trans_result is empty"},
        {R"({"from":"zh","to":"en"})", 502, "baidu: the answer has no trans_result"},
        {R"({"trans_result":[{"src":"a"}]})", 502, "baidu: a trans_result entry has no dst"},
        {R"({"error_code":"52000","trans_result":[{"src":"a","dst":"b"}]})", 200, ""},
    };
    for (const Row &row : rows) {
        const BaiduLines lines = readBaiduAnswer({HttpReply::Failure::None, {}, 200, row.body});
        EXPECT_EQ(lines.failure ? lines.failure->status : 200, row.status) << row.body;
        EXPECT_EQ(lines.failure ? lines.failure->reason : "", row.reason);
    }
}

TEST(BaiduTier, TheAdvancedTierTakesLongerPiecesMoreOften)
{
    const BaiduLimits standard = baiduLimits("");
    EXPECT_EQ(standard.pieceLimit, 1000u);
    EXPECT_EQ(standard.pace, 1200ms);
    EXPECT_EQ(baiduLimits("standard").pace, 1200ms);
    const BaiduLimits advanced = baiduLimits("advanced");
    EXPECT_EQ(advanced.pieceLimit, 6000u);
    EXPECT_EQ(advanced.measure, TextMeasure::Bytes);
    EXPECT_EQ(advanced.pace, 120ms);
    EXPECT_THROW(baiduLimits("premium"), std::invalid_argument);
}

// LibreTranslate's /translate as documented: {q, source, target, format, api_key} in,
// {translatedText} or {error} out. It answers "<q>", or refuses a key other than its own
// with 403 and a message that repeats it.
TEST(LibreTranslatePassage, GoesInPiecesWithItsLinesKeptAndErrorsWithoutTheKey)
{
    FakeHttpServer http;
    std::mutex mutex;
    std::vector<std::string> seen;
    http.server().Get("/languages", [](const auto &, auto &res) {
        res.set_content(R"([{"code":"zh","name":"Chinese","targets":["en"]},)"
                        R"({"code":"en","name":"English","targets":["zh"]}])",
                        "application/json");
    });
    http.server().Post("/translate", [&](const auto &req, auto &res) {
        const QJsonObject body =
            QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
        const std::string q = body.value(u"q").toString().toStdString();
        const std::string key = body.value(u"api_key").toString().toStdString();
        {
            const std::lock_guard lock(mutex);
            seen.push_back(q);
        }
        if (key != "LtKey-7") {
            res.status = 403;
            return res.set_content(R"({"error":"Invalid API key: )" + key + "\"}",
                                   "application/json");
        }
        res.set_content(
            QJsonDocument(QJsonObject{{"translatedText", QString::fromStdString("<" + q + ">")}})
                .toJson()
                .toStdString(),
            "application/json");
    });
    http.start();
    const auto address = *parseServiceAddress(http.address());
    const LibreTranslateBackend upstream(address, "LtKey-7");
    ASSERT_TRUE(upstream.waitListKnown(Clock::now() + 10s));

    std::string passage = "  第一行。\r\n\r\n";
    for (int i = 0; i < 300; ++i)
        passage += "今天天气很好，我们去公园散步吧。\n";
    const Translation t = upstream.translate(passage, {"zh-CN", "en"}, Clock::now() + 10s);
    ASSERT_EQ(t.status, 200) << t.reason;
    ASSERT_GT(seen.size(), 2u);
    for (const std::string &q : seen) {
        EXPECT_LE(QString::fromStdString(q).size(), qsizetype(LibreTranslateBackend::PieceLimit));
        EXPECT_TRUE(trimPiece(q).core == q) << q; // the blanks around stay here
    }
    // Each piece's translation in its place, every blank and line break around it kept.
    EXPECT_EQ(t.text.rfind("  <第一行。", 0), 0u);
    EXPECT_TRUE(t.text.ends_with("吧。>\n"));
    std::string bare = t.text;
    std::erase_if(bare, [](char c) { return c == '<' || c == '>'; });
    EXPECT_TRUE(bare == passage);
    EXPECT_EQ(size_t(std::count(t.text.begin(), t.text.end(), '<')), seen.size());
    EXPECT_EQ(upstream.reach(), Reach::Known);

    const LibreTranslateBackend wrong(address, "WrongKey-8");
    ASSERT_TRUE(wrong.waitListKnown(Clock::now() + 10s));
    const Translation refused = wrong.translate("你好", {"zh-CN", "en"}, Clock::now() + 10s);
    EXPECT_EQ(refused.status, 502);
    EXPECT_EQ(refused.reason, "upstream refused the key or this address (403): Invalid API key: ***");
    EXPECT_EQ(wrong.reach(), Reach::Refused);
}
