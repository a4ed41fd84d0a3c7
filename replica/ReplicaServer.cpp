#include "replica/ReplicaServer.h"

#include "replica/DictionaryRoute.h"
#include "replica/EngineRoutes.h"
#include "replica/SiteRoutes.h"

#include <cstdio>
#include <thread>

namespace mirel::replica {
namespace {

void logRequest(const httplib::Request &req, const httplib::Response &res)
{
    std::string line = req.method + " " + req.target + " -> " + std::to_string(res.status);
    if (const std::string cookie = req.get_header_value("Cookie"); !cookie.empty())
        line += " [Cookie: " + cookie + "]";
    if (const std::string set = res.get_header_value("Set-Cookie"); !set.empty())
        line += " [Set-Cookie: " + set + "]";
    if (res.status == 400)
        line += " " + res.body.substr(0, res.body.find('\n'));
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace

ReplicaServer::ReplicaServer(ReplicaOptions options) : m_options(options)
{
    m_ctx.relayBusy = m_options.relayBusy;
    using Handler = void (*)(const httplib::Request &, httplib::Response &, ReplicaContext &);
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
    m_server.set_error_handler([](const httplib::Request &req, httplib::Response &res) {
        if (res.body.empty())
            res.set_content("no such page: " + req.method + " " + req.path + "\n",
                            "text/plain; charset=utf-8");
    });
    if (m_options.logRequests)
        m_server.set_logger(logRequest);
}

int ReplicaServer::bind(int port)
{
    const bool ok = port == 0 ? (m_port = m_server.bind_to_any_port("127.0.0.1")) > 0
                              : m_server.bind_to_port("127.0.0.1", port);
    if (!ok)
        return m_port = -1;
    if (port != 0)
        m_port = port;
    m_ctx.base = "http://127.0.0.1:" + std::to_string(m_port);
    return m_port;
}

bool ReplicaServer::serve()
{
    if (m_port <= 0)
        return false;
    m_serving = true;
    const bool served = m_stopRequested || m_server.listen_after_bind();
    m_serving = false;
    return served;
}

void ReplicaServer::stop()
{
    m_stopRequested = true;
    // The library only stops a server that is already listening: wait for that moment
    // if serve() has begun, or let serve() see the request if it has not.
    while (m_serving && !m_server.is_running())
        std::this_thread::yield();
    m_server.stop();
}

} // namespace mirel::replica
