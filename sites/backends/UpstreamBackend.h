#pragma once

#include "sites/backends/BoundedHttp.h"

#include <map>
#include <mutex>
#include <set>

namespace mirel::sites {

// A LibreTranslate-compatible service: its languages come from GET /languages (each with
// the codes it translates into), a text is translated with POST /translate.
class UpstreamBackend : public TranslationBackend
{
public:
    UpstreamBackend(ServiceAddress service, std::string apiKey)
        : m_connections(std::move(service)), m_apiKey(std::move(apiKey))
    {
    }

    // Reads the language list; an empty text on success, else why not. A list that
    // could not be read is asked for again, at most every 30 s, when a pair is looked up.
    std::string loadLanguages(Clock::time_point deadline) const;
    // The service's codes for a pair it translates, nothing otherwise.
    std::optional<std::pair<std::string, std::string>> codes(const LanguagePair &pair) const;

    std::string name() const override { return "upstream"; }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    void reloadIfDue() const;

    HttpConnections m_connections;
    std::string m_apiKey;
    mutable std::mutex m_mutex;
    mutable std::map<std::string, std::set<std::string>> m_targets; // source code -> targets
    mutable bool m_loaded = false;
    mutable Clock::time_point m_lastTry{};
};

} // namespace mirel::sites
