#include "sites/gateway/TranslationGateway.h"

#include <algorithm>
#include <cstdio>

namespace mirel::siteserver {
namespace {

std::string milliseconds(std::chrono::microseconds time)
{
    const long long us = time.count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld ms", us / 1000, us % 1000);
    return text;
}

} // namespace

std::string GatewayAnswer::note() const
{
    if (attempts.empty())
        return "none";
    std::string text;
    for (const Attempt &attempt : attempts) {
        if (!text.empty())
            text += ", ";
        text += attempt.backend + " ";
        if (!attempt.failure.empty())
            text += "failed (" + attempt.failure + ") ";
        text += milliseconds(attempt.time);
    }
    return text;
}

TranslationGateway::~TranslationGateway()
{
    bool probing = false;
    {
        const std::lock_guard lock(m_probesMutex);
        probing = !m_probes.empty();
    }
    if (!m_warming.empty() || probing)
        stop();
    m_warming.clear();
    const std::lock_guard lock(m_probesMutex);
    m_probes.clear();
}

void TranslationGateway::startProbe(const TranslationBackend &service) const
{
    const std::lock_guard lock(m_probesMutex);
    std::erase_if(m_probes, [](const Probe &probe) { return probe.done->load(); });
    auto done = std::make_shared<std::atomic<bool>>(false);
    m_probes.push_back({done, std::jthread([this, &service, done] {
                            const Clock::time_point deadline = Clock::now() + ServiceShare;
                            // A word of its own, not a user's text; a service without the
                            // pair is only reached.
                            const LanguagePair pair{"en", "zh-CN"};
                            std::optional<Translation> outcome;
                            if (service.offers(pair) == Offer::Yes)
                                outcome = service.translate("Hello", pair, deadline);
                            else if (auto failure = service.warm(deadline))
                                outcome = std::move(failure);
                            m_memory.note(service.name(),
                                          outcome ? *outcome : Translation::translated({}),
                                          Clock::now());
                            *done = true;
                        })});
}

void TranslationGateway::warmUp()
{
    for (const auto &backend : m_backends)
        if (backend->online())
            m_warming.emplace_back([this, service = backend.get()] {
                if (const auto failure = service->warm(Clock::now() + ServiceShare))
                    m_memory.note(service->name(), *failure, Clock::now());
            });
}

void TranslationGateway::add(std::unique_ptr<TranslationBackend> backend)
{
    m_backends.push_back(std::move(backend));
}

void TranslationGateway::setVendor(Engine engine, std::string backendName)
{
    m_vendors[engine] = std::move(backendName);
}

const TranslationBackend *TranslationGateway::find(std::string_view name) const
{
    for (const auto &backend : m_backends)
        if (backend->name() == name)
            return backend.get();
    return nullptr;
}

void TranslationGateway::stop()
{
    for (const auto &backend : m_backends)
        backend->stop();
}

bool TranslationGateway::waitListsKnown(Clock::time_point until) const
{
    return std::all_of(m_backends.begin(), m_backends.end(),
                       [until](const auto &backend) { return backend->waitListKnown(until); });
}

std::vector<const TranslationBackend *>
TranslationGateway::route(const LanguagePair &pair, std::optional<Engine> engine) const
{
    std::vector<const TranslationBackend *> order;
    for (const auto &backend : m_backends)
        if (backend->exact() && backend->serves(pair))
            order.push_back(backend.get());
    const TranslationBackend *vendor = nullptr;
    if (engine)
        if (const auto it = m_vendors.find(*engine); it != m_vendors.end())
            if (const TranslationBackend *own = find(it->second);
                own && !own->exact() && own->serves(pair))
                order.push_back(vendor = own);
    for (const auto &backend : m_backends)
        if (!backend->exact() && backend.get() != vendor && backend->serves(pair))
            order.push_back(backend.get());
    return order;
}

GatewayAnswer TranslationGateway::translate(const std::string &utf8, const LanguagePair &pair,
                                            std::optional<Engine> engine,
                                            std::optional<Clock::time_point> arrival) const
{
    const Clock::time_point deadline = arrival.value_or(Clock::now()) + m_limit;
    const std::vector<const TranslationBackend *> order = route(pair, engine);
    GatewayAnswer answer;
    if (order.empty()) {
        const bool pending = std::any_of(m_backends.begin(), m_backends.end(), [&](const auto &b) {
            return b->offers(pair) == Offer::NotKnownYet;
        });
        answer.translation =
            pending ? Translation::noAnswer("no translation engine ready yet for " + pair.from +
                                            " to " + pair.to)
                    : Translation{Translation::Outcome::Unsupported,
                                  {},
                                  501,
                                  "no translation engine for " + pair.from + " to " + pair.to};
        return answer;
    }
    std::optional<Translation> firstFailure;
    std::optional<Translation> firstSkip;
    for (const TranslationBackend *backend : order) {
        // Socket timeouts count in whole milliseconds: a backend that gave up less than
        // one before the limit has used it up.
        if (deadline - Clock::now() < std::chrono::milliseconds(1))
            break;
        const Clock::time_point start = Clock::now();
        const bool online = backend->online();
        const std::string name = backend->name();
        const auto admission = online && backend->reach() != Reach::Refused
                                   ? m_memory.admit(name, start)
                                   : FailureMemory::Admission::Ask;
        if (admission == FailureMemory::Admission::Probe)
            startProbe(*backend);
        if (online &&
            (backend->reach() == Reach::Refused || admission != FailureMemory::Admission::Ask)) {
            if (!firstSkip) {
                const auto skip = m_memory.skip(name, start);
                firstSkip = Translation::noAnswer(
                    name + " is passed over after failing" +
                    (skip && !skip->reason.empty() ? ": " + skip->reason : std::string()));
            }
            continue;
        }
        const bool shared = online && !backend->takesTimeLeft() && deadline - start > ServiceShare;
        const Clock::time_point own = shared ? start + ServiceShare : deadline;
        Translation result = backend->translate(utf8, pair, own);
        const Clock::time_point end = Clock::now();
        const auto time = std::chrono::duration_cast<std::chrono::microseconds>(end - start);
        const bool ok = result.outcome == Translation::Outcome::Translated;
        if (online) {
            // A service left less than its share that ran out of time says nothing of itself.
            const bool cutShort = !ok && !shared && own - start < ServiceShare &&
                                  end >= own - std::chrono::milliseconds(50);
            if (!cutShort)
                m_memory.note(name, result, end);
        }
        answer.attempts.push_back(
            {backend->name(), time, ok ? std::string() : std::to_string(result.status)});
        if (ok) {
            answer.translation = std::move(result);
            return answer;
        }
        if (!firstFailure)
            firstFailure = std::move(result);
    }
    answer.translation = firstFailure ? std::move(*firstFailure)
                         : firstSkip  ? std::move(*firstSkip)
                                      : Translation::noAnswer("no answer within the time limit");
    return answer;
}

} // namespace mirel::siteserver
