#include "sites/server/SiteServer.h"

#include "sites/apertium/ApertiumBackend.h"
#include "sites/core/RequestArrival.h"
#include "sites/pages/DictionaryRoute.h"
#include "sites/pages/EngineRoutes.h"
#include "sites/pages/VendorRoutes.h"
#include "sites/server/AcceptedConnections.h"
#include "sites/server/ConnectionPool.h"
#include "sites/server/ForeignConnections.h"
#include "sites/server/RequestBody.h"
#include "sites/server/RequestGuard.h"
#include "sites/server/SettingsRoutes.h"
#include "sites/setup/BackendAssembly.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

namespace mirel::siteserver {
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

} // namespace

SiteServer::SiteServer(SiteOptions options) : m_options(std::move(options))
{
    m_ctx.relayBusy = m_options.relayBusy;
    const std::filesystem::path data = m_options.dataFolder.empty()
                                           ? std::filesystem::path(MIREL_SITES_SOURCE_DATA)
                                           : m_options.dataFolder;
    m_ctx.dictionary = Dictionary::read(data);
    m_glossary = readGlossaryRows(data);
    m_firstEngines = std::make_shared<TranslationGateway>(m_options.backendLimit);
    AssembledBackends backends = assembleBackends(*m_firstEngines, m_options, m_glossary);
    m_apertium = backends.apertium;
    m_engines = m_firstEngines;
    m_engines->warmUp();
    m_ctx.gateway = m_engines;
    m_ctx.leftOut = std::make_shared<const std::vector<std::pair<std::string, std::string>>>(
        std::move(backends.leftOut));
    m_settings = std::make_unique<SettingsDesk>(
        m_options.settingsFile, m_options,
        [this](const SitesSettings &settings) { return prepareEngines(settings); });
    m_ctx.settingsWarnings = m_options.settingsWarnings;

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
    addSettingsRoutes(m_server, *m_settings, m_port);
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
        // Its body is never read: not as a body, and not as a next request.
        refuseAndClose(res, 403, why);
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
    // Another user's connections end as they are accepted, before a byte is read.
    m_server.new_task_queue = [this] {
        return new ConnectionPool(
            ConnectionPool::DefaultMaxThreads,
            [foreign = std::make_shared<ForeignConnections>(m_port), log = m_options.logRequests] {
                if (foreign->endNew() > 0 && log)
                    std::fprintf(stderr, "refused: a connection of another user, ended unread\n");
            });
    };
    if (m_options.logRequests)
        m_server.set_logger(logRequest);
    m_server.set_tcp_nodelay(true);
}

std::function<void()> SiteServer::prepareEngines(const SitesSettings &settings)
{
    SiteOptions options = m_options;
    options.services = settings;
    options.runningApertium = m_apertium;
    auto engines = std::make_shared<TranslationGateway>(options.backendLimit);
    auto leftOut = std::make_shared<const std::vector<std::pair<std::string, std::string>>>(
        assembleBackends(*engines, options, m_glossary).leftOut);
    // The next request is asked of the services just set up, not passed on while their
    // lists are read: wait for those a little.
    engines->waitListsKnown(Clock::now() + std::min<std::chrono::milliseconds>(
                                               options.backendLimit, std::chrono::seconds(5)));
    engines->warmUp();
    return [this, engines, leftOut] {
        const std::lock_guard lock(m_enginesMutex);
        if (m_stopRequested)
            engines->stop();
        m_engines = engines;
        m_ctx.gateway = engines;
        m_ctx.leftOut = leftOut;
    };
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
    {
        const std::lock_guard lock(m_enginesMutex);
        m_engines->stop();
        m_firstEngines->stop();
    }
    // The library only stops a server that is already listening: wait for that moment
    // if serve() has begun, or let serve() see the request if it has not.
    while (m_serving && !m_server.is_running())
        std::this_thread::yield();
    m_server.stop();
    // Connections kept alive between requests end now rather than after their idle time.
    endAcceptedConnections(m_port);
}

} // namespace mirel::siteserver
