#include "sites/server/SiteServer.h"

#include "sites/backends/ApertiumBackend.h"
#include "sites/backends/GlossaryBackend.h"
#include "sites/backends/UpstreamBackend.h"
#include "sites/pages/DictionaryRoute.h"
#include "sites/pages/EngineRoutes.h"
#include "sites/pages/SiteRoutes.h"
#include "sites/server/RequestGuard.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
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

void addBackends(TranslationGateway &gateway, const SiteOptions &options)
{
    const auto deadline = [&options] { return Clock::now() + options.backendLimit; };
    if (!options.apertium.empty()) {
        auto apertium =
            std::make_unique<ApertiumBackend>(serviceAddress(options.apertium, "Apertium"));
        if (const std::string error = apertium->loadPairs(deadline()); !error.empty()) {
            note(options, "Apertium left out: " + error);
        } else {
            note(options, "Apertium at " + options.apertium + ": " +
                              std::to_string(apertium->pairs().size()) + " pairs");
            gateway.add(std::move(apertium));
        }
    }
    if (const auto address = options.services.get("upstream"); address && !address->empty()) {
        auto upstream = std::make_unique<UpstreamBackend>(serviceAddress(*address, "upstream"),
                                                          options.services.value("api-key"));
        const std::string error = upstream->loadLanguages(deadline());
        note(options, error.empty() ? "upstream at " + *address
                                    : "upstream not ready (asked again later): " + error);
        gateway.add(std::move(upstream));
    }
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
    addBackends(m_ctx.gateway, m_options);
    m_ctx.gateway.add(std::make_unique<GlossaryBackend>(Glossary(readGlossaryRows(data))));

    using Handler = void (*)(const httplib::Request &, httplib::Response &, SiteContext &);
    const auto route = [this](Handler handler) {
        return [this, handler](const httplib::Request &req, httplib::Response &res) {
            handler(req, res, m_ctx);
        };
    };
    m_server.Post("/", route(handleGoogle));
    m_server.Post("/trans.php", route(handleRelay));
    m_server.Post("/translate", route(handleYoudao));
    m_server.Post("/translate_txt", route(handleYahoo));
    m_server.Get("/search", route(handleDictionary));
    m_server.Get("/translate_tts", route(handleSpeech));
    m_server.Get("/ad/201072928_1.html", route(handleAdPage));
    m_server.Get("/201072928.html", route(handleVendorPage));
    m_server.Get("/SiteBack/updateTxt/28.txt", route(handleUpdateList));
    m_server.Get("/", route(handleIndex));
    // Only the window and its pages, of this user, are served.
    m_server.set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        const std::string why = refusal(req, m_port);
        if (why.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = 403;
        res.set_content(why + "\n", "text/plain; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
    });
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
