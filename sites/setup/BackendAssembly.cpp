#include "sites/setup/BackendAssembly.h"

#include "sites/apertium/ApertiumBackend.h"
#include "sites/gateway/BorrowedBackend.h"
#include "sites/keyless/EdgeBackend.h"
#include "sites/keyless/GoogleWebBackend.h"
#include "sites/keyless/VolcengineWebBackend.h"
#include "sites/local/GlossaryBackend.h"
#include "sites/local/OpenCcBackend.h"
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
#include "sites/setup/ServiceOrder.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>

namespace mirel::siteserver {
namespace {

ServiceAddress serviceAddress(const std::string &address, const char *what)
{
    const auto service = parseServiceAddress(address);
    if (!service)
        throw std::invalid_argument(std::string(what) +
                                    " address must read http://host:port: " + address);
    return *service;
}

void note(const SiteOptions &options, const std::string &text)
{
    if (options.logRequests)
        std::fprintf(stderr, "mirel-sites: %s\n", text.c_str());
}

ServiceEndpoint serviceEndpoint(const SitesSettings &settings, const std::string &setting,
                                std::string_view fallback)
{
    const std::string address = settings.value(setting, fallback);
    const auto endpoint = parseServiceEndpoint(address);
    if (!endpoint)
        throw std::invalid_argument(setting +
                                    " must read http(s)://host[:port][/path]: " + address);
    return *endpoint;
}

// A keyless service at the address its setting names, the vendor's own by default; none
// when the setting is "off".
template <typename Backend>
std::unique_ptr<TranslationBackend>
keyless(const SitesSettings &settings, const std::string &setting, std::string_view vendorAddress)
{
    if (settings.value(setting) == "off")
        return nullptr;
    return std::make_unique<Backend>(serviceEndpoint(settings, setting, vendorAddress));
}

// A list read takes at most this long: a server that stops waits for a read under way.
constexpr PairListTiming kListTiming{.limit = std::chrono::seconds(5)};

// A translation service the server can ask: its name (as "order" names it), the settings
// that set it up (the first of them the settings name places it in the default order;
// none: after those that have some) and how it is built. make gives nothing when the
// service is not set up, or when it is but cannot be used (then `why` says why).
struct ServiceMaker
{
    std::string_view name;
    std::vector<std::string_view> settings;
    std::function<std::unique_ptr<TranslationBackend>(std::string &why)> make;
};

// Whether every one of the settings is given; a service half set up is left out (why).
bool given(const SitesSettings &settings, std::initializer_list<const char *> names,
           std::string &why)
{
    std::string missing;
    size_t present = 0;
    for (const char *name : names)
        if (settings.value(name).empty())
            missing += (missing.empty() ? "" : ", ") + std::string(name);
        else
            ++present;
    if (present > 0 && !missing.empty())
        why = missing + " not set";
    return missing.empty();
}

// Every service, one entry each. The services' language lists are read in the
// background: the server listens at once, and a service's pairs answer 503 until its
// list is read.
std::vector<ServiceMaker> serviceMakers(const SiteOptions &options, const PairList::Log &log,
                                        ApertiumBackend *&apertium)
{
    const SitesSettings &s = options.services;
    return {
        {"baidu",
         {"baidu-app-id", "baidu-key", "baidu-url", "baidu-tier"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"baidu-app-id", "baidu-key"}, why))
                 return nullptr;
             const auto endpoint = serviceEndpoint(s, "baidu-url", BaiduBackend::DefaultAddress);
             const BaiduLimits limits = baiduLimits(s.value("baidu-tier"));
             note(options, "baidu at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<BaiduBackend>(
                 endpoint, BaiduAccount{s.value("baidu-app-id"), s.value("baidu-key")},
                 limits.pieceLimit, limits.pace, limits.measure);
         }},
        {"youdao",
         {"youdao-app-key", "youdao-app-secret", "youdao-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"youdao-app-key", "youdao-app-secret"}, why))
                 return nullptr;
             const auto endpoint = serviceEndpoint(s, "youdao-url", YoudaoBackend::DefaultAddress);
             note(options, "youdao at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<YoudaoBackend>(
                 endpoint, YoudaoAccount{s.value("youdao-app-key"), s.value("youdao-app-secret")});
         }},
        {"google",
         {"google-key", "google-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"google-key"}, why))
                 return nullptr;
             const auto endpoint =
                 serviceEndpoint(s, "google-url", GoogleCloudBackend::DefaultAddress);
             note(options, "google at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<GoogleCloudBackend>(endpoint, s.value("google-key"));
         }},
        {"deepl",
         {"deepl-key", "deepl-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"deepl-key"}, why))
                 return nullptr;
             return std::make_unique<DeepLBackend>(s.value("deepl-key"), s.value("deepl-url"),
                                                   kListTiming, log);
         }},
        {"tencent",
         {"tencent-secret-id", "tencent-secret-key", "tencent-region", "tencent-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"tencent-secret-id", "tencent-secret-key"}, why))
                 return nullptr;
             const auto endpoint =
                 serviceEndpoint(s, "tencent-url", TencentBackend::DefaultAddress);
             note(options, "tencent at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<TencentBackend>(
                 endpoint,
                 TencentAccount{s.value("tencent-secret-id"), s.value("tencent-secret-key"),
                                s.value("tencent-region", "ap-beijing")});
         }},
        {"azure",
         {"azure-key", "azure-region", "azure-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"azure-key"}, why))
                 return nullptr;
             const auto endpoint = serviceEndpoint(s, "azure-url", AzureBackend::DefaultAddress);
             note(options, "azure at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<AzureBackend>(
                 endpoint, AzureAccount{s.value("azure-key"), s.value("azure-region")});
         }},
        {"volcengine",
         {"volcengine-access-key", "volcengine-secret-key", "volcengine-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"volcengine-access-key", "volcengine-secret-key"}, why))
                 return nullptr;
             const auto endpoint =
                 serviceEndpoint(s, "volcengine-url", VolcengineBackend::DefaultAddress);
             note(options, "volcengine at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<VolcengineBackend>(
                 endpoint, VolcengineAccount{s.value("volcengine-access-key"),
                                             s.value("volcengine-secret-key")});
         }},
        {"niutrans",
         {"niutrans-key", "niutrans-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"niutrans-key"}, why))
                 return nullptr;
             const auto endpoint =
                 serviceEndpoint(s, "niutrans-url", NiutransBackend::DefaultAddress);
             note(options, "niutrans at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<NiutransBackend>(endpoint, s.value("niutrans-key"));
         }},
        {"alibaba",
         {"alibaba-access-key-id", "alibaba-access-key-secret", "alibaba-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"alibaba-access-key-id", "alibaba-access-key-secret"}, why))
                 return nullptr;
             const auto endpoint =
                 serviceEndpoint(s, "alibaba-url", AlibabaBackend::DefaultAddress);
             note(options, "alibaba at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<AlibabaBackend>(
                 endpoint, AlibabaAccount{s.value("alibaba-access-key-id"),
                                          s.value("alibaba-access-key-secret")});
         }},
        {"openai",
         {"openai-url", "openai-model", "openai-key", "openai-temperature", "openai-piece-bytes"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"openai-url", "openai-model"}, why))
                 return nullptr;
             note(options, "OpenAI-compatible model " + s.value("openai-model") + " at " +
                               s.value("openai-url"));
             return std::make_unique<OpenAiBackend>(
                 s.value("openai-url"), s.value("openai-model"), s.value("openai-key"),
                 openAiTuning(s.get("openai-temperature"), s.get("openai-piece-bytes")));
         }},
        {"upstream",
         {"upstream", "api-key"},
         [&](std::string &) -> std::unique_ptr<TranslationBackend> {
             const std::string address = s.value("upstream");
             if (address.empty())
                 return nullptr;
             return std::make_unique<LibreTranslateBackend>(serviceAddress(address, "upstream"),
                                                            s.value("api-key"), kListTiming, log);
         }},
        // The keyless services need no setting: after the keyed ones, before Apertium.
        {"google-web",
         {},
         [&](std::string &) {
             return keyless<GoogleWebBackend>(s, "google-web-url",
                                              GoogleWebBackend::DefaultAddress);
         }},
        {"edge",
         {},
         [&](std::string &) {
             return keyless<EdgeBackend>(s, "edge-url", EdgeBackend::DefaultAddress);
         }},
        {"volcengine-web",
         {},
         [&](std::string &) {
             return keyless<VolcengineWebBackend>(s, "volcengine-web-url",
                                                  VolcengineWebBackend::DefaultAddress);
         }},
        {"apertium",
         {},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (options.runningApertium)
                 return std::make_unique<BorrowedBackend>(*options.runningApertium);
             if (options.apertium.empty()) {
                 why = options.apertiumError;
                 return nullptr;
             }
             ApertiumOptions apertiumOptions;
             apertiumOptions.cacheFolder = options.cacheFolder;
             apertiumOptions.probe = options.apertiumProbe;
             apertiumOptions.listTiming = kListTiming;
             apertiumOptions.log = log;
             auto backend = std::make_unique<ApertiumBackend>(
                 serviceAddress(options.apertium, "Apertium"), std::move(apertiumOptions));
             backend->start();
             // Until its list is read, its pairs answer 503; it is asked again until it
             // answers.
             if (options.apertiumWait.count() > 0 &&
                 !backend->waitKnown(Clock::now() + options.apertiumWait))
                 note(options, "Apertium at " + options.apertium + " not ready yet");
             apertium = backend.get();
             return backend;
         }},
    };
}

// The position of a service's first setting among the settings; none when none is given.
std::optional<size_t> firstNamed(const ServiceMaker &maker, const SitesSettings &settings)
{
    for (size_t i = 0; i < settings.values.size(); ++i)
        for (const std::string_view setting : maker.settings)
            if (settings.values[i].first == setting)
                return i;
    return std::nullopt;
}

// Whether passages may leave the machine: the "online" setting, on unless "off".
bool onlineAllowed(const SitesSettings &settings)
{
    const std::string online = settings.value("online", "on");
    if (online != "on" && online != "off")
        throw std::invalid_argument("online must read on or off: " + online);
    return online == "on";
}

} // namespace

AssembledBackends assembleBackends(TranslationGateway &gateway, const SiteOptions &options,
                                   const GlossaryRows &glossary)
{
    AssembledBackends out;
    std::shared_ptr<const ChineseScript> script;
    try {
        script = std::make_shared<const ChineseScript>(options.opencc);
        gateway.add(std::make_unique<OpenCcBackend>(script));
    } catch (const std::runtime_error &e) {
        std::fprintf(stderr,
                     "mirel-sites: no offline 简↔繁 conversion: OpenCC's data is missing in "
                     "%s (install libopencc-data); 中文(简体) <-> 中文(繁体) goes to the next "
                     "service. %s\n",
                     options.opencc.c_str(), e.what());
        out.leftOut.emplace_back("opencc", "no data in " + options.opencc.string());
    }

    PairList::Log log;
    if (options.logRequests)
        log = [](const std::string &text) {
            std::fprintf(stderr, "mirel-sites: %s\n", text.c_str());
        };
    ApertiumBackend *apertium = nullptr;
    const std::vector<ServiceMaker> all = serviceMakers(options, log, apertium);
    std::vector<std::pair<std::string, std::optional<size_t>>> named;
    for (const ServiceMaker &maker : all)
        named.emplace_back(maker.name, firstNamed(maker, options.services));
    std::vector<const ServiceMaker *> makers;
    for (const std::string &name : defaultServiceOrder(named))
        makers.push_back(&*std::find_if(all.begin(), all.end(),
                                        [&](const ServiceMaker &m) { return m.name == name; }));
    std::vector<std::string_view> known;
    for (const ServiceMaker *maker : makers)
        known.push_back(maker->name);
    const bool online = onlineAllowed(options.services);
    const std::string order = options.services.value("order");
    serviceOrder({}, order, known); // an unknown name stops the start before any service is asked

    std::vector<std::string> configured;
    std::map<std::string, std::unique_ptr<TranslationBackend>, std::less<>> built;
    for (const ServiceMaker *maker : makers) {
        // Offline, no online service is even built: nothing can reach one.
        if (!online && maker->name != "apertium")
            continue;
        std::string why;
        auto backend = maker->make(why);
        if (!why.empty()) {
            note(options, std::string(maker->name) + " left out: " + why);
            out.leftOut.emplace_back(maker->name, why);
        }
        if (!backend)
            continue;
        configured.emplace_back(maker->name);
        built[std::string(maker->name)] = std::move(backend);
    }
    for (const std::string &name : serviceOrder(configured, order, known))
        gateway.add(std::move(built[name]));
    gateway.add(std::make_unique<GlossaryBackend>(Glossary(glossary), script));

    gateway.setVendor(Engine::Relay, "baidu");
    gateway.setVendor(Engine::Youdao, "youdao");
    gateway.setVendor(Engine::Google, googleVendor(!options.services.value("google-key").empty()));
    out.apertium = apertium;
    return out;
}

} // namespace mirel::siteserver
