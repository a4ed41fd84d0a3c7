#include "sites/server/SiteServer.h"

#include "sites/backends/ApertiumBackend.h"
#include "sites/backends/BaiduBackend.h"
#include "sites/backends/DeepLBackend.h"
#include "sites/backends/GlossaryBackend.h"
#include "sites/backends/GoogleCloudBackend.h"
#include "sites/backends/OpenAiBackend.h"
#include "sites/backends/OpenCcBackend.h"
#include "sites/backends/UpstreamBackend.h"
#include "sites/backends/YoudaoBackend.h"
#include "sites/pages/DictionaryRoute.h"
#include "sites/pages/EngineRoutes.h"
#include "sites/pages/SiteRoutes.h"
#include "sites/server/AcceptedConnections.h"
#include "sites/server/ConnectionPool.h"
#include "sites/server/RequestBody.h"
#include "sites/server/RequestGuard.h"
#include "sites/server/ServiceOrder.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

namespace mirel::sites {
namespace {

void logRequest(const httplib::Request &req, const httplib::Response &res)
{
    std::string line = req.method + " " + req.target + " -> " + std::to_string(res.status);
    if (const std::string cookie = req.get_header_value("Cookie"); !cookie.empty())
        line += " [Cookie: " + cookie + "]";
    if (const std::string set = res.get_header_value("Set-Cookie"); !set.empty())
        line += " [Set-Cookie: " + set + "]";
    if (const std::string by = res.get_header_value(TranslatedByHeader); !by.empty())
        line += " [" + by + "]";
    // The reason, unless the library compressed it for a browser.
    if (res.status >= 400 && !res.has_header("Content-Encoding"))
        line.append(" ").append(res.body, 0, res.body.find('\n'));
    std::fprintf(stderr, "%s\n", line.c_str());
}

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

// A list read takes at most this long: a server that stops waits for a read under way.
constexpr ServiceListTiming kListTiming{.limit = std::chrono::seconds(5)};

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
std::vector<ServiceMaker> serviceMakers(const SiteOptions &options, const ServiceList::Log &log,
                                        ApertiumBackend *&apertium)
{
    const SitesSettings &s = options.services;
    return {
        {"baidu",
         {"baidu-app-id", "baidu-key", "baidu-url"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"baidu-app-id", "baidu-key"}, why))
                 return nullptr;
             const auto endpoint = serviceEndpoint(s, "baidu-url", BaiduBackend::DefaultAddress);
             note(options, "baidu at " + endpoint.service.origin + endpoint.path);
             return std::make_unique<BaiduBackend>(
                 endpoint, BaiduAccount{s.value("baidu-app-id"), s.value("baidu-key")});
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
        {"openai",
         {"openai-url", "openai-model", "openai-key"},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
             if (!given(s, {"openai-url", "openai-model"}, why))
                 return nullptr;
             note(options, "OpenAI-compatible model " + s.value("openai-model") + " at " +
                               s.value("openai-url"));
             return std::make_unique<OpenAiBackend>(s.value("openai-url"), s.value("openai-model"),
                                                    s.value("openai-key"));
         }},
        {"upstream",
         {"upstream", "api-key"},
         [&](std::string &) -> std::unique_ptr<TranslationBackend> {
             const std::string address = s.value("upstream");
             if (address.empty())
                 return nullptr;
             return std::make_unique<UpstreamBackend>(serviceAddress(address, "upstream"),
                                                      s.value("api-key"), kListTiming, log);
         }},
        {"apertium",
         {},
         [&](std::string &why) -> std::unique_ptr<TranslationBackend> {
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

// The position of a service in the default order: where the settings first name it.
size_t firstNamed(const ServiceMaker &maker, const SitesSettings &settings)
{
    for (size_t i = 0; i < settings.values.size(); ++i)
        for (const std::string_view setting : maker.settings)
            if (settings.values[i].first == setting)
                return i;
    return settings.values.size();
}

// OpenCC first (when its data is there), then the services that are set up in the
// order of the "order" setting, the glossary last; each engine's own vendor is named.
// Returns the Apertium backend, if there is one.
ApertiumBackend *addBackends(SiteContext &ctx, const SiteOptions &options,
                             const GlossaryRows &glossary)
{
    std::shared_ptr<const ChineseScript> script;
    try {
        script = std::make_shared<const ChineseScript>(options.opencc);
        ctx.gateway.add(std::make_unique<OpenCcBackend>(script));
    } catch (const std::runtime_error &e) {
        std::fprintf(stderr,
                     "mirel-sites: no offline 简↔繁 conversion: OpenCC's data is missing in "
                     "%s (install libopencc-data); 中文(简体) <-> 中文(繁体) goes to the next "
                     "service. %s\n",
                     options.opencc.c_str(), e.what());
        ctx.leftOut.emplace_back("opencc", "no data in " + options.opencc.string());
    }

    ServiceList::Log log;
    if (options.logRequests)
        log = [](const std::string &text) {
            std::fprintf(stderr, "mirel-sites: %s\n", text.c_str());
        };
    ApertiumBackend *apertium = nullptr;
    const std::vector<ServiceMaker> all = serviceMakers(options, log, apertium);
    std::vector<const ServiceMaker *> makers;
    for (const ServiceMaker &maker : all)
        makers.push_back(&maker);
    std::stable_sort(makers.begin(), makers.end(), [&](const auto *a, const auto *b) {
        return firstNamed(*a, options.services) < firstNamed(*b, options.services);
    });
    std::vector<std::string_view> known;
    for (const ServiceMaker *maker : makers)
        known.push_back(maker->name);
    const std::string order = options.services.value("order");
    serviceOrder({}, order, known); // an unknown name stops the start before any service is asked

    std::vector<std::string> configured;
    std::map<std::string, std::unique_ptr<TranslationBackend>, std::less<>> built;
    for (const ServiceMaker *maker : makers) {
        std::string why;
        auto backend = maker->make(why);
        if (!why.empty()) {
            note(options, std::string(maker->name) + " left out: " + why);
            ctx.leftOut.emplace_back(maker->name, why);
        }
        if (!backend)
            continue;
        configured.emplace_back(maker->name);
        built[std::string(maker->name)] = std::move(backend);
    }
    for (const std::string &name : serviceOrder(configured, order, known))
        ctx.gateway.add(std::move(built[name]));
    ctx.gateway.add(std::make_unique<GlossaryBackend>(Glossary(glossary), script));

    ctx.gateway.setVendor(Engine::Relay, "baidu");
    ctx.gateway.setVendor(Engine::Youdao, "youdao");
    ctx.gateway.setVendor(Engine::Google, "google");
    return apertium;
}

} // namespace

SiteServer::SiteServer(SiteOptions options) : m_options(std::move(options))
{
    m_ctx.gateway.setLimit(m_options.backendLimit);
    m_ctx.relayBusy = m_options.relayBusy;
    const std::filesystem::path data = m_options.dataFolder.empty()
                                           ? std::filesystem::path(MIREL_SITES_SOURCE_DATA)
                                           : m_options.dataFolder;
    m_ctx.dictionary = Dictionary::read(data);
    m_apertium = addBackends(m_ctx, m_options, readGlossaryRows(data));

    using Handler = void (*)(const httplib::Request &, httplib::Response &, SiteContext &);
    const auto route = [this](Handler handler) {
        return [this, handler](const httplib::Request &req, httplib::Response &res) {
            handler(req, res, m_ctx);
        };
    };
    // A form is read here, bounded, rather than whole by the library before any route runs.
    const auto form = [this](Handler handler) {
        return [this, handler](const httplib::Request &req, httplib::Response &res,
                               const httplib::ContentReader &reader) {
            RequestBody body = readRequestBody(req, reader);
            if (body.outcome == RequestBody::Outcome::TooLarge)
                return refuseAndClose(res, 413,
                                      "form over " + std::to_string(MaxFormBody) +
                                          " bytes: the passage is too long");
            if (body.outcome == RequestBody::Outcome::Broken)
                return refuseAndClose(res, 400, "form body not read whole");
            httplib::Request withBody = req;
            withBody.body = std::move(body.bytes);
            handler(withBody, res, m_ctx);
        };
    };
    m_server.Post("/", form(handleGoogle));
    m_server.Post("/trans.php", form(handleRelay));
    m_server.Post("/translate", form(handleYoudao));
    m_server.Post("/translate_txt", form(handleYahoo));
    // No other body is read at all.
    const auto noSuchPage = [](const httplib::Request &req, httplib::Response &res,
                               const httplib::ContentReader &reader) {
        readRequestBody(req, reader, 0);
        refuseAndClose(res, 404, "no such page: " + req.method + " " + req.path);
    };
    m_server.Post(".*", noSuchPage);
    m_server.Put(".*", noSuchPage);
    m_server.Patch(".*", noSuchPage);
    m_server.Delete(".*", noSuchPage);
    m_server.Get("/search", route(handleDictionary));
    m_server.Get("/translate_tts", route(handleSpeech));
    m_server.Get("/ad/201072928_1.html", route(handleAdPage));
    m_server.Get("/201072928.html", route(handleVendorPage));
    m_server.Get("/SiteBack/updateTxt/28.txt", route(handleUpdateList));
    m_server.Get("/", route(handleIndex));
    // Only the window and its pages, of this user, are served.
    m_server.set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        markRequestArrival();
        const std::string why = refusal(req, m_port);
        if (why.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = 403;
        res.set_content(why + "\n", "text/plain; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
    });
    m_server.set_error_handler([](const httplib::Request &req, httplib::Response &res) {
        if (!res.has_header("Content-Type"))
            res.set_content("no such page: " + req.method + " " + req.path + "\n",
                            "text/plain; charset=utf-8");
    });
    // No body is read whole by the library (the routes above take every method that has
    // one); this bounds what the library would skip unread.
    m_server.set_payload_max_length(MaxDrainedBody);
    // Every connection has a thread of its own (up to a bound), so that a page never
    // waits behind backend calls or idle connections.
    m_server.new_task_queue = [] { return new ConnectionPool(); };
    if (m_options.logRequests)
        m_server.set_logger(logRequest);
    m_server.set_tcp_nodelay(true);
}

int SiteServer::bind(int port)
{
    // A restart binds at once even while the last run's connections wait out TIME-WAIT;
    // unlike the library's default (SO_REUSEPORT), a second server cannot take the port.
    socket_t listening = INVALID_SOCKET;
    m_server.set_socket_options([&listening](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = sock;
    });
    const bool ok = port == 0 ? (m_port = m_server.bind_to_any_port("127.0.0.1")) > 0
                              : m_server.bind_to_port("127.0.0.1", port);
    m_server.set_socket_options([](socket_t) {}); // the local above goes
    if (!ok)
        return m_port = -1;
    // The library listens with a queue of 5: a burst of connections (the window's
    // requests while others wait) would lose SYNs and wait a second for each retry.
    ::listen(listening, SOMAXCONN);
    if (port != 0)
        m_port = port;
    m_ctx.base = "http://127.0.0.1:" + std::to_string(m_port);
    return m_port;
}

bool SiteServer::serve()
{
    if (m_port <= 0)
        return false;
    m_serving = true;
    const bool served = m_stopRequested || m_server.listen_after_bind();
    m_serving = false;
    return served;
}

void SiteServer::stop()
{
    m_stopRequested = true;
    // Requests waiting for a service end at once, so that no connection holds the end up.
    m_ctx.gateway.stop();
    // The library only stops a server that is already listening: wait for that moment
    // if serve() has begun, or let serve() see the request if it has not.
    while (m_serving && !m_server.is_running())
        std::this_thread::yield();
    m_server.stop();
    // Connections kept alive between requests end now rather than after their idle time.
    endAcceptedConnections(m_port);
}

} // namespace mirel::sites
