#include "sites/backends/TranslationGateway.h"

namespace mirel::sites {

void TranslationGateway::add(std::unique_ptr<TranslationBackend> backend)
{
    m_backends.push_back(std::move(backend));
}

const TranslationBackend *TranslationGateway::route(const LanguagePair &pair) const
{
    for (const auto &backend : m_backends)
        if (backend->serves(pair))
            return backend.get();
    return nullptr;
}

GatewayAnswer TranslationGateway::translate(const std::string &utf8, const LanguagePair &pair) const
{
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + m_limit;
    const TranslationBackend *backend = route(pair);
    if (!backend) {
        Translation none{Translation::Outcome::Unsupported,
                         {},
                         501,
                         "no translation engine for " + pair.from + " to " + pair.to};
        return {std::move(none), {}, {}};
    }
    GatewayAnswer answer{backend->translate(utf8, pair, deadline), backend->name(), {}};
    answer.backendTime =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    return answer;
}

} // namespace mirel::sites
