#include "sites/server/SiteServer.h"

#include "sites/backends/ApertiumBackend.h"
#include "sites/backends/GlossaryBackend.h"
#include "sites/backends/OpenCcBackend.h"
#include "sites/backends/UpstreamBackend.h"
#include "sites/pages/DictionaryRoute.h"
#include "sites/pages/EngineRoutes.h"
#include "sites/pages/SiteRoutes.h"
#include "sites/server/ServiceOrder.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
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
        line += " " + res.body.substr(0, res.body.find('\n'));
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

// A translation service the server can ask: its name (as "order" names it), the settings
// that set it up (the first of them the settings name places it in the default order;
// none: after those that have some) and how it is built. make gives nothing when the
// service is not set up, or when it is but cannot be used (then `why` says why).
struct ServiceMaker
{
    std::string_view name;
    std::vector<std::string_view> settings;
    std::unique_ptr<TranslationBackend> (*make)(const SiteOptions &options, std::string &why);
};

Clock::time_point startDeadline(const SiteOptions &options)
{
    return Clock::now() + options.backendLimit;
}

std::unique_ptr<TranslationBackend> makeApertium(const SiteOptions &options, std::string &why)
{
    if (options.apertium.empty()) {
        why = options.apertiumError;
        return nullptr;
    }
    auto apertium = std::make_unique<ApertiumBackend>(serviceAddress(options.apertium, "Apertium"));
    if (why = apertium->loadPairs(startDeadline(options)); !why.empty())
        return nullptr;
    note(options, "Apertium at " + options.apertium + ": " +
                      std::to_string(apertium->pairs().size()) + " pairs");
    return apertium;
}

std::unique_ptr<TranslationBackend> makeUpstream(const SiteOptions &options, std::string &)
{
    const std::string address = options.services.value("upstream");
    if (address.empty())
        return nullptr;
    auto upstream = std::make_unique<UpstreamBackend>(serviceAddress(address, "upstream"),
                                                      options.services.value("api-key"));
    const std::string error = upstream->loadLanguages(startDeadline(options));
    note(options, error.empty() ? "upstream at " + address
                                : "upstream not ready (asked again later): " + error);
    return upstream;
}

// Every service, one line each.
const std::vector<ServiceMaker> &serviceMakers()
{
    static const std::vector<ServiceMaker> makers{
        {"upstream", {"upstream", "api-key"}, makeUpstream},
        {"apertium", {}, makeApertium},
    };
    return makers;
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
void addBackends(SiteContext &ctx, const SiteOptions &options, const GlossaryRows &glossary)
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

    std::vector<const ServiceMaker *> makers;
    for (const ServiceMaker &maker : serviceMakers())
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
        auto backend = maker->make(options, why);
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
    addBackends(m_ctx, m_options, readGlossaryRows(data));

    using Handler = void (*)(const httplib::Request &, httplib::Response &, SiteContext &);
    const auto route = [this](Handler handler) {
        return [this, handler](const httplib::Request &req, httplib::Response &res) {
            handler(req, res, m_ctx);
        };
    };
    // The engines' forms read their bodies themselves: the library would refuse a form
    // body over 8 KiB (a passage of about 900 Chinese characters) with a bare 413.
    const auto form = [this](Handler handler) {
        return [this, handler](const httplib::Request &req, httplib::Response &res,
                               const httplib::ContentReader &content) {
            httplib::Request full = req;
            const bool read = content([&full](const char *data, size_t length) {
                full.body.append(data, length);
                return full.body.size() <= MaxFormBody;
            });
            if (!read || full.body.size() > MaxFormBody)
                return failWith(res, 413,
                                "the passage is too long: at most " +
                                    std::to_string(MaxFormBody / 1024) + " KiB of form data");
            handler(full, res, m_ctx);
        };
    };
    m_server.Post("/", form(handleGoogle));
    m_server.Post("/trans.php", form(handleRelay));
    m_server.Post("/translate", form(handleYoudao));
    m_server.Post("/translate_txt", form(handleYahoo));
    m_server.Get("/search", route(handleDictionary));
    m_server.Get("/translate_tts", route(handleSpeech));
    m_server.Get("/ad/201072928_1.html", route(handleAdPage));
    m_server.Get("/201072928.html", route(handleVendorPage));
    m_server.Get("/SiteBack/updateTxt/28.txt", route(handleUpdateList));
    m_server.Get("/", route(handleIndex));
    m_server.set_error_handler([](const httplib::Request &req, httplib::Response &res) {
        if (res.body.empty())
            res.set_content("no such page: " + req.method + " " + req.path + "\n",
                            "text/plain; charset=utf-8");
    });
    if (m_options.logRequests)
        m_server.set_logger(logRequest);
    m_server.set_tcp_nodelay(true);
}

int SiteServer::bind(int port)
{
    // A restart binds at once even while the last run's connections wait out TIME-WAIT;
    // unlike the library's default (SO_REUSEPORT), a second server cannot take the port.
    m_server.set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    const bool ok = port == 0 ? (m_port = m_server.bind_to_any_port("127.0.0.1")) > 0
                              : m_server.bind_to_port("127.0.0.1", port);
    if (!ok)
        return m_port = -1;
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
    // The library only stops a server that is already listening: wait for that moment
    // if serve() has begun, or let serve() see the request if it has not.
    while (m_serving && !m_server.is_running())
        std::this_thread::yield();
    m_server.stop();
}

} // namespace mirel::sites
