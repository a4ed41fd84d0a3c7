// Baidu, Youdao and Google Cloud against fakes written from their documentation: the
// vendors' signature examples, whole request bodies, codes, errors, long passages, and
// the services behind the window's engines through the site server.
#include "FakeVendors.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "sites/services/BaiduBackend.h"
#include "sites/services/GoogleCloudBackend.h"
#include "sites/services/YoudaoBackend.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

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
            "&signType=v3&curtime=1700000000");
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

// The three against fakes that check their signatures and keys: codes sent, the answer
// taken, a wrong secret refused without showing it. Each vendor's refusal codes and a
// service that is gone are rows of the contract suite over recorded answers.
struct VendorCase
{
    const char *name;
    Kind kind;
    const char *sourceField, *targetField, *source; // how the vendor names zh-CN
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
}

TEST_P(VendorContract, AWrongSecretIsRefusedWithoutShowingIt)
{
    const auto check = [](const Translation &t, int status) {
        EXPECT_EQ(t.outcome, Translation::Outcome::Failed);
        EXPECT_EQ(t.status, status) << t.reason;
        EXPECT_EQ(t.reason.find("SeCrEt-1"), std::string::npos) << t.reason;
        EXPECT_FALSE(t.reason.empty());
    };
    check(backend("wrong")->translate("你好", {"zh-CN", "en"}, Clock::now() + 3s), 502);
}

INSTANTIATE_TEST_SUITE_P(Vendors, VendorContract,
                         testing::Values(VendorCase{"Baidu", Kind::Baidu, "from", "to", "zh"},
                                         VendorCase{"Youdao", Kind::Youdao, "from", "to", "zh-CHS"},
                                         VendorCase{"Google", Kind::Google, "source", "target",
                                                    "zh-CN"}),
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
