#pragma once

#include "sites/backends/Translation.h"

#include <memory>
#include <vector>

namespace mirel::sites {

// What the gateway did for one request: the result, the engine that served it (empty
// when none serves the pair) and the time spent waiting on it.
struct GatewayAnswer
{
    Translation translation;
    std::string backend;
    std::chrono::microseconds backendTime{0};
};

// The engines behind the site server in order of preference: the first that serves a
// pair translates it; its failure is the answer (no silent fallback to a lesser engine).
class TranslationGateway
{
public:
    static constexpr std::chrono::milliseconds DefaultLimit{20000};

    explicit TranslationGateway(std::chrono::milliseconds limit = DefaultLimit) : m_limit(limit) {}

    void setLimit(std::chrono::milliseconds limit) { m_limit = limit; }
    void add(std::unique_ptr<TranslationBackend> backend);
    const std::vector<std::unique_ptr<TranslationBackend>> &backends() const { return m_backends; }

    // The engine that would serve the pair, or null.
    const TranslationBackend *route(const LanguagePair &pair) const;
    GatewayAnswer translate(const std::string &utf8, const LanguagePair &pair) const;

private:
    std::chrono::milliseconds m_limit;
    std::vector<std::unique_ptr<TranslationBackend>> m_backends;
};

} // namespace mirel::sites
