#include "ServiceCatalog.h"

#include "sites/keyless/EdgeBackend.h"
#include "sites/keyless/GoogleWebBackend.h"
#include "sites/keyless/VolcengineWebBackend.h"
#include "sites/services/AlibabaBackend.h"
#include "sites/services/AzureBackend.h"
#include "sites/services/BaiduBackend.h"
#include "sites/services/DeepLBackend.h"
#include "sites/services/GoogleCloudBackend.h"
#include "sites/services/LibreTranslateBackend.h"
#include "sites/services/NiutransBackend.h"
#include "sites/services/OpenAiBackend.h"
#include "sites/services/TencentBackend.h"
#include "sites/services/VolcengineBackend.h"
#include "sites/services/YoudaoBackend.h"

#include <chrono>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

ServiceEndpoint endpoint(const std::string &address, const std::string &path)
{
    return *parseServiceEndpoint(address + path);
}

// A language list read at once, and read again soon after a failure.
constexpr PairListTiming kQuickList{5000ms, 20ms, 40ms, 1h};

} // namespace

const std::vector<ServiceEntry> &serviceCatalog()
{
    static const std::vector<ServiceEntry> entries = {
        {"baidu", "baidu",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<BaiduBackend>(endpoint(address, "/api/trans/vip/translate"),
                                                   BaiduAccount{"test-app", key},
                                                   BaiduBackend::DefaultPieceLimit, 10ms);
         }},
        {"youdao", "youdao",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<YoudaoBackend>(endpoint(address, "/api"),
                                                    YoudaoAccount{"test-app", key});
         }},
        {"google", "google",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<GoogleCloudBackend>(
                 endpoint(address, "/language/translate/v2"), key);
         }},
        {"deepl",
         "deepl",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<DeepLBackend>(key, address + "/v2/translate", kQuickList);
         },
         {"zh-CN", "en"},
         {{"/v2/languages?type=source", "languages-source.http"},
          {"/v2/languages?type=target", "languages-target.http"}}},
        {"openai", "openai",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<OpenAiBackend>(address + "/v1", "gpt-4o-mini", key);
         }},
        {"libretranslate",
         "libretranslate",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<LibreTranslateBackend>(*parseServiceAddress(address), key,
                                                            kQuickList);
         },
         {"zh-CN", "en"},
         {{"/languages", "languages.http"}}},
        {"google-web",
         "google-web",
         [](const std::string &address, const std::string &) {
             return std::make_unique<GoogleWebBackend>(endpoint(address, "/translate_a/single"));
         },
         {"zh-CN", "en"},
         {},
         "503"},
        {"edge",
         "edge",
         [](const std::string &address, const std::string &) {
             return std::make_unique<EdgeBackend>(endpoint(address, "/translate/translatetext"));
         },
         {"zh-CN", "en"},
         {},
         "503"},
        {"volcengine-web",
         "volcengine-web",
         [](const std::string &address, const std::string &) {
             return std::make_unique<VolcengineWebBackend>(endpoint(address, "/crx/translate/v1/"));
         },
         {"zh-CN", "en"},
         {},
         "503"},
        {"tencent", "tencent",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<TencentBackend>(endpoint(address, "/"),
                                                     TencentAccount{"test-id", key}, 1ms);
         }},
        {"azure", "azure",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<AzureBackend>(endpoint(address, "/"),
                                                   AzureAccount{key, "eastasia"});
         }},
        {"volcengine", "volcengine",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<VolcengineBackend>(endpoint(address, "/"),
                                                        VolcengineAccount{"test-id", key});
         }},
        {"niutrans", "niutrans",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<NiutransBackend>(
                 endpoint(address, "/NiuTransServer/translation"), key);
         }},
        {"alibaba", "alibaba",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<AlibabaBackend>(endpoint(address, "/"),
                                                     AlibabaAccount{"test-id", key});
         }},
    };
    return entries;
}
