#pragma once

#include "sites/local/GlossaryRows.h"
#include "sites/pages/SettingsDesk.h"
#include "sites/pages/SiteContext.h"
#include "sites/setup/SiteOptions.h"

#include <httplib.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace mirel::siteserver {

class ApertiumBackend;

// One loopback HTTP server that answers every outside address of the program by path
// and method, translating through OpenCC (简↔繁), the services set up (in the order of
// the "order" setting), Apertium and the glossary. Listens on 127.0.0.1 only.
class SiteServer
{
public:
    // Reads the data files and starts reading the services' language lists in the
    // background (a service's pairs answer 503 until its list is read). Throws
    // DataFileError for unusable data and std::invalid_argument for a bad address or an
    // unknown name in "order".
    explicit SiteServer(SiteOptions options = {});
    SiteServer(const SiteServer &) = delete;
    SiteServer &operator=(const SiteServer &) = delete;

    // Binds 127.0.0.1:port, any free port for 0. Returns the port, or -1 on failure.
    int bind(int port);
    // Serves until stop() is called; returns false when not bound.
    bool serve();
    // Ends serve(), from any thread, also one that calls before serve() has begun.
    void stop();
    bool isRunning() const { return m_server.is_running(); }

    int port() const { return m_port; }
    const std::string &baseAddress() const { return m_ctx.base; }
    // The engines in force (replaced when the settings page saves).
    std::shared_ptr<const TranslationGateway> gateway() const { return m_ctx.gateway.load(); }
    // The Apertium backend, null when there is none.
    ApertiumBackend *apertium() const { return m_apertium; }

private:
    // Builds the engines of these settings; the function it gives puts them in force.
    std::function<void()> prepareEngines(const SitesSettings &settings);

    SiteOptions m_options;
    GlossaryRows m_glossary;
    std::mutex m_enginesMutex;
    std::shared_ptr<TranslationGateway> m_firstEngines; // keeps Apertium for later ones
    std::shared_ptr<TranslationGateway> m_engines;      // in force
    SiteContext m_ctx;
    std::unique_ptr<SettingsDesk> m_settings;
    ApertiumBackend *m_apertium = nullptr; // owned by the gateway
    httplib::Server m_server;
    int m_port = -1;
    std::atomic<bool> m_serving = false;
    std::atomic<bool> m_stopRequested = false;
};

} // namespace mirel::siteserver
