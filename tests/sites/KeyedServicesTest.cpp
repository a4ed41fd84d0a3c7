// Tencent Cloud, Azure, Volcengine, Niutrans and Alibaba Cloud: their signatures against the
// vendors' published examples, and their clients against loopback fakes written from their
// documentation.

#include "FakeHttpServer.h"

#include "sites/http/CharacterBudget.h"
#include "sites/http/HttpDate.h"
#include "sites/languages/PassageSplit.h"
#include "sites/services/AlibabaBackend.h"
#include "sites/services/AzureBackend.h"
#include "sites/services/NiutransBackend.h"
#include "sites/services/TencentBackend.h"
#include "sites/services/TencentSigning.h"
#include "sites/services/VolcengineBackend.h"
#include "sites/services/VolcengineSigning.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

// Tencent's worked example (API 3.0, signature v3): DescribeInstances of CVM, its secrets
// printed as asterisks.
constexpr std::string_view kTencentPayload =
    R"({"Limit": 1, "Filters": [{"Values": ["\u672a\u547d\u540d"], "Name": "instance-name"}]})";
const Tc3Request kTencentExample{"application/json; charset=utf-8", "cvm.tencentcloudapi.com",
                                 "DescribeInstances", kTencentPayload};

} // namespace

TEST(TencentSigning, ReproducesThePublishedExample)
{
    const std::string canonical = tc3CanonicalRequest(kTencentExample);
    EXPECT_EQ(canonical, "POST\n/\n\ncontent-type:application/json; charset=utf-8\n"
                         "host:cvm.tencentcloudapi.com\nx-tc-action:describeinstances\n\n"
                         "content-type;host;x-tc-action\n"
                         "35e9c5b0e3ae67532d3c9f17ead6c90222632e5b1ff7f6e89887f1398934f064");
    const std::string toSign = tc3StringToSign(1551113065, "cvm", canonical);
    EXPECT_EQ(toSign, "TC3-HMAC-SHA256\n1551113065\n2019-02-25/cvm/tc3_request\n"
                      "7019a55be8395899b900fb5564e4200d984910f34794a27cb3fb7d10ff6a1e84");
    const std::string secretKey(32, '*');
    EXPECT_EQ(tc3Signature(secretKey, 1551113065, "cvm", toSign),
              "10b1a37a7301a02ca19a647ad722d5e43b4b3cff309d421d85b46093f6ab6c4f");
    EXPECT_EQ(tc3Authorization("AKID" + std::string(32, '*'), secretKey, 1551113065, "cvm",
                               kTencentExample),
              "TC3-HMAC-SHA256 Credential=AKID********************************/2019-02-25/cvm/"
              "tc3_request, SignedHeaders=content-type;host;x-tc-action, "
              "Signature=10b1a37a7301a02ca19a647ad722d5e43b4b3cff309d421d85b46093f6ab6c4f");
}

TEST(TencentSigning, TheScopesDateIsTheTimestampsUtcDate)
{
    // 2019-02-25 23:59:59 UTC is already the 26th in Beijing.
    EXPECT_EQ(tc3Scope(1551139199, "tmt"), "2019-02-25/tmt/tc3_request");
    EXPECT_EQ(tc3Scope(1551139200, "tmt"), "2019-02-26/tmt/tc3_request");
}

TEST(AlibabaSigning, ReproducesThePublishedExample)
{
    const QueryParams params{
        {"Timestamp", "2016-02-23T12:46:24Z"},
        {"Format", "XML"},
        {"AccessKeyId", "testid"},
        {"Action", "DescribeRegions"},
        {"SignatureMethod", "HMAC-SHA1"},
        {"SignatureNonce", "3ee8c1b8-83d3-44af-a94f-4e0ad82fd6cf"},
        {"Version", "2014-05-26"},
        {"SignatureVersion", "1.0"},
    };
    const std::string toSign = alibabaStringToSign("GET", params);
    EXPECT_EQ(toSign, "GET&%2F&AccessKeyId%3Dtestid%26Action%3DDescribeRegions%26Format%3DXML%26"
                      "SignatureMethod%3DHMAC-SHA1%26SignatureNonce%3D3ee8c1b8-83d3-44af-a94f-"
                      "4e0ad82fd6cf%26SignatureVersion%3D1.0%26Timestamp%3D2016-02-23T12%253A46%"
                      "253A24Z%26Version%3D2014-05-26");
    EXPECT_EQ(alibabaSignature("testsecret", toSign), "OLeaidS1JvxuMvnyHOwuJ+uX5qY=");
}

TEST(VolcengineSigning, ReproducesThePublishedExample)
{
    // The worked example of Volcengine's signing guide: IAM ListUsers, GET, no body.
    const VolcRequest request{"GET",
                              "/",
                              "Action=ListUsers&Limit=10&Offset=0&Version=2018-01-01",
                              {{"host", "iam.volcengineapi.com"}, {"x-date", "20240619T071306Z"}},
                              ""};
    const std::string canonical = volcCanonicalRequest(request);
    EXPECT_EQ(canonical, "GET\n/\nAction=ListUsers&Limit=10&Offset=0&Version=2018-01-01\n"
                         "host:iam.volcengineapi.com\nx-date:20240619T071306Z\n\nhost;x-date\n"
                         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const std::string toSign = volcStringToSign("20240619T071306Z", "cn-beijing", "iam", canonical);
    EXPECT_EQ(toSign, "HMAC-SHA256\n20240619T071306Z\n20240619/cn-beijing/iam/request\n"
                      "5ed5bca3905e1fcbf789abb56a17c2d819674a3bcfa468ae476bd1ea80d135cb");
    const std::string secret = "WkRZeE1EQmxPVGhsWWpWak5HVmtNbUUxTXpZeU9UVXlOMlE1TmpZeVlqTQ==";
    EXPECT_EQ(volcSignature(secret, "20240619T071306Z", "cn-beijing", "iam", toSign),
              "e31c4558bcfe08a286001f59cedbf0791ffd0b2362f10e55ee2627467bcdde93");
    EXPECT_EQ(volcAuthorization("AKLTYWViMTVmZGYzM2E0NDI5Mzk2MDZjNjFmMjc2MjRjMzg", secret,
                                "20240619T071306Z", "cn-beijing", "iam", request),
              "HMAC-SHA256 Credential=AKLTYWViMTVmZGYzM2E0NDI5Mzk2MDZjNjFmMjc2MjRjMzg/20240619/"
              "cn-beijing/iam/request, SignedHeaders=host;x-date, "
              "Signature=e31c4558bcfe08a286001f59cedbf0791ffd0b2362f10e55ee2627467bcdde93");
}

TEST(HttpDates, ReadAndWritten)
{
    EXPECT_EQ(httpDateSeconds("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(httpDateSeconds("Thu, 29 Feb 2024 00:00:00 GMT"), 1709164800);
    for (const char *bad : {"", "Sun, 06 Nov 1994 08:49:37 UTC", "Sunday, 06-Nov-94 08:49:37 GMT",
                            "Sun, 31 Feb 1994 08:49:37 GMT", "Sun, 06 Foo 1994 08:49:37 GMT",
                            "Sun, 06 Nov 1994 24:49:37 GMT"})
        EXPECT_FALSE(httpDateSeconds(bad)) << bad;
    EXPECT_EQ(utcTime(1456231584), "2016-02-23T12:46:24Z");
    EXPECT_EQ(utcTime(1456231584, true), "20160223T124624Z");
    EXPECT_EQ(utcDate(1709164800, true), "20240229");
}

TEST(CharacterBudget, KeepsTheCapOverTheWindow)
{
    CharacterBudget budget(10, 1h);
    const auto start = Clock::now();
    EXPECT_TRUE(budget.take(6, start));
    EXPECT_FALSE(budget.take(5, start + 10min));
    EXPECT_TRUE(budget.take(4, start + 10min));
    EXPECT_FALSE(budget.take(1, start + 59min));
    EXPECT_TRUE(budget.take(6, start + 60min)); // the first six have left the window
    EXPECT_FALSE(budget.take(1, start + 61min));
}

namespace {

// A fake of one vendor that echoes each text sent, or refuses the key.
struct EchoVendor
{
    std::string name;
    std::string path;
    size_t limit; // characters a request
    std::function<std::string(const std::string &body)> textOf;
    std::function<std::string(const std::string &)> answerOf;
    std::string refusal; // an answer refusing the key
    int refusalStatus = 200;
    std::function<std::unique_ptr<TranslationBackend>(ServiceEndpoint)> build;
};

QJsonDocument jsonOf(const std::string &body)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(body));
}

std::string formValue(const std::string &body, const char *name)
{
    return QUrlQuery(QString::fromStdString(body))
        .queryItemValue(name, QUrl::FullyDecoded)
        .toStdString();
}

// The whole body of a request, however long (the fake's own form parsing stops at 8 KiB).
using BodyHandler = std::function<void(const std::string &body, httplib::Response &res)>;
void onPost(FakeHttpServer &fake, const std::string &path, BodyHandler handle)
{
    fake.server().Post(path, [handle](const httplib::Request &, httplib::Response &res,
                                      const httplib::ContentReader &reader) {
        std::string body;
        reader([&](const char *data, size_t length) {
            body.append(data, length);
            return true;
        });
        handle(body, res);
    });
}

std::string compact(const QJsonDocument &document)
{
    return document.toJson(QJsonDocument::Compact).toStdString();
}

std::vector<EchoVendor> echoVendors()
{
    return {
        {"Tencent", "/", TencentBackend::DefaultPieceLimit,
         [](const std::string &body) {
             return jsonOf(body).object().value("SourceText").toString().toStdString();
         },
         [](const std::string &text) {
             return compact(QJsonDocument(
                 QJsonObject{{"Response", QJsonObject{{"TargetText", QString::fromStdString(text)},
                                                      {"RequestId", "1"}}}}));
         },
         R"({"Response":{"Error":{"Code":"AuthFailure.SecretIdNotFound","Message":"no"}}})", 200,
         [](ServiceEndpoint endpoint) {
             return std::make_unique<TencentBackend>(std::move(endpoint),
                                                     TencentAccount{"id", "secret"}, 1ms);
         }},
        {"Azure", "/translate", AzureBackend::DefaultPieceLimit,
         [](const std::string &body) {
             return jsonOf(body).array().first().toObject().value("Text").toString().toStdString();
         },
         [](const std::string &text) {
             return compact(QJsonDocument(QJsonArray{
                 QJsonObject{{"translations",
                              QJsonArray{QJsonObject{{"text", QString::fromStdString(text)}}}}}}));
         },
         R"({"error":{"code":401000,"message":"no"}})", 401,
         [](ServiceEndpoint endpoint) {
             return std::make_unique<AzureBackend>(std::move(endpoint), AzureAccount{"key", ""});
         }},
        {"Alibaba", "/", AlibabaBackend::DefaultPieceLimit,
         [](const std::string &body) { return formValue(body, "SourceText"); },
         [](const std::string &text) {
             return compact(QJsonDocument(
                 QJsonObject{{"Code", "200"},
                             {"Data", QJsonObject{{"Translated", QString::fromStdString(text)}}}}));
         },
         R"({"Code":"InvalidAccessKeyId.NotFound","Message":"no"})", 404,
         [](ServiceEndpoint endpoint) {
             return std::make_unique<AlibabaBackend>(std::move(endpoint),
                                                     AlibabaAccount{"id", "secret"});
         }},
        {"Volcengine", "/", VolcengineBackend::DefaultPieceLimit,
         [](const std::string &body) {
             return jsonOf(body)
                 .object()
                 .value("TextList")
                 .toArray()
                 .first()
                 .toString()
                 .toStdString();
         },
         [](const std::string &text) {
             return compact(QJsonDocument(QJsonObject{
                 {"TranslationList",
                  QJsonArray{QJsonObject{{"Translation", QString::fromStdString(text)}}}}}));
         },
         R"({"ResponseMetadata":{"Error":{"CodeN":100009,"Code":"InvalidAccessKey"}}})", 401,
         [](ServiceEndpoint endpoint) {
             return std::make_unique<VolcengineBackend>(std::move(endpoint),
                                                        VolcengineAccount{"id", "secret"});
         }},
        {"Niutrans", "/", NiutransBackend::DefaultPieceLimit,
         [](const std::string &body) { return formValue(body, "src_text"); },
         [](const std::string &text) {
             return compact(QJsonDocument(QJsonObject{{"tgt_text", QString::fromStdString(text)}}));
         },
         R"({"error_code":"13002","error_msg":"apikey is invalid"})", 200,
         [](ServiceEndpoint endpoint) {
             return std::make_unique<NiutransBackend>(std::move(endpoint), "key");
         }},
    };
}

class KeyedEcho : public testing::TestWithParam<EchoVendor>
{
};

} // namespace

TEST_P(KeyedEcho, ALongPassageGoesInPiecesAtSentenceEndsAndComesBackExactly)
{
    const EchoVendor &vendor = GetParam();
    FakeHttpServer fake;
    std::mutex mutex;
    std::vector<std::string> pieces;
    onPost(fake, vendor.path, [&](const std::string &body, httplib::Response &res) {
        const std::string text = vendor.textOf(body);
        const std::lock_guard lock(mutex);
        pieces.push_back(text);
        res.set_content(vendor.answerOf(text), "application/json");
    });
    fake.start();
    const auto backend = vendor.build(*parseServiceEndpoint(fake.address() + "/"));
    std::string passage;
    while (textSize(passage, TextMeasure::Utf16Units) < 120000)
        passage += passage.size() % 3 ? "天气很好，我们去公园散步吧！" : "It rains. Does it? ";
    const Translation t = backend->translate(passage, {"zh-CN", "en"}, Clock::now() + 60s);
    ASSERT_EQ(t.outcome, Translation::Outcome::Translated) << t.reason;
    EXPECT_EQ(t.text, passage);
    ASSERT_GT(pieces.size(), 1u);
    for (const std::string &piece : pieces) {
        EXPECT_LE(textSize(piece, TextMeasure::Utf16Units), vendor.limit);
        EXPECT_TRUE(piece.ends_with("！") || piece.ends_with("?") || piece.ends_with("."))
            << piece.substr(piece.size() - 9);
    }
}

TEST_P(KeyedEcho, ARefusedKeyShowsOnTheStatusUntilATranslationSucceeds)
{
    const EchoVendor &vendor = GetParam();
    FakeHttpServer fake;
    std::atomic<bool> refuse = true;
    onPost(fake, vendor.path, [&](const std::string &body, httplib::Response &res) {
        if (refuse) {
            res.status = vendor.refusalStatus;
            res.set_content(vendor.refusal, "application/json");
        } else {
            res.set_content(vendor.answerOf(vendor.textOf(body)), "application/json");
        }
    });
    fake.start();
    const auto backend = vendor.build(*parseServiceEndpoint(fake.address() + "/"));
    EXPECT_EQ(backend->reach(), Reach::Known);
    const Translation refused = backend->translate("你好", {"zh-CN", "en"}, Clock::now() + 20s);
    EXPECT_EQ(refused.status, 502);
    EXPECT_EQ(backend->reach(), Reach::Refused);
    refuse = false;
    EXPECT_EQ(backend->translate("你好", {"zh-CN", "en"}, Clock::now() + 20s).text, "你好");
    EXPECT_EQ(backend->reach(), Reach::Known);
}

INSTANTIATE_TEST_SUITE_P(Vendors, KeyedEcho, testing::ValuesIn(echoVendors()),
                         [](const auto &info) { return info.param.name; });

TEST(TencentClock, AnExpiredSignatureIsMadeAgainAtTheServicesTime)
{
    FakeHttpServer fake;
    std::mutex mutex;
    std::vector<int64_t> stamps;
    const int64_t served = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count() +
                           7200; // the machine's clock is two hours behind
    fake.server().Post("/", [&](const httplib::Request &req, httplib::Response &res) {
        const std::lock_guard lock(mutex);
        stamps.push_back(std::stoll(req.get_header_value("X-TC-Timestamp")));
        if (std::llabs(stamps.back() - served) > 300) {
            const std::string time = utcTime(served);
            static constexpr const char *days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
            static constexpr const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
            const std::string date = std::string(days[(served / 86400) % 7]) + ", " +
                                     time.substr(8, 2) + " " +
                                     months[std::stoi(time.substr(5, 2)) - 1] + " " +
                                     time.substr(0, 4) + " " + time.substr(11, 8) + " GMT";
            res.set_header("Date", date);
            res.set_content(
                R"({"Response":{"Error":{"Code":"AuthFailure.SignatureExpire","Message":"expired"}}})",
                "application/json");
            return;
        }
        res.set_content(R"({"Response":{"TargetText":"Hello"}})", "application/json");
    });
    fake.start();
    const TencentBackend tencent(*parseServiceEndpoint(fake.address() + "/"), {"id", "secret"},
                                 1ms);
    const Translation t = tencent.translate("你好", {"zh-CN", "en"}, Clock::now() + 20s);
    EXPECT_EQ(t.text, "Hello") << t.reason;
    ASSERT_EQ(stamps.size(), 2u);
    EXPECT_LE(std::llabs(stamps[1] - served), 60);
}
