#pragma once

#include "sites/gateway/FailureMemory.h"
#include "sites/gateway/SkipSchedule.h"
#include "sites/gateway/TranslationBackend.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace mirel::siteserver {

// The window's engine whose form asked for a translation.
enum class Engine { Google, Relay, Youdao, Yahoo };

// One backend asked for a translation: its name, the time it took and, when it failed,
// why (empty when it translated).
struct Attempt
{
    std::string backend;
    std::chrono::microseconds time{0};
    std::string failure;
};

// What the gateway did for one request: the result and every backend asked, in order
// (none when no backend serves the pair).
struct GatewayAnswer
{
    Translation translation;
    std::vector<Attempt> attempts;

    // The backend that gave the answer (the last one asked), or "".
    std::string backend() const
    {
        return attempts.empty() ? std::string() : attempts.back().backend;
    }
    // "baidu 503 12.345 ms, apertium 3.210 ms", or "none": for the log and a header.
    std::string note() const;
};

// The engines behind the site server. For a pair, the backends that offer it are asked
// in this order until one translates, all within one time limit:
//   exact converters (simplified <-> traditional Chinese) first,
//   then the window engine's own vendor service (setVendor),
//   then every other backend in the order they were added.
// A failure hands over to the next backend; when all fail, the first failure is the
// answer. An online service gets at most ServiceShare of the time, so that the later ones
// keep their turn, and one that failed for a reason of the network or the vendor is passed
// over for a while (FailureMemory). A pair that no backend offers is 501, unless a backend whose
// language list is not known yet might: then 503.
class TranslationGateway
{
public:
    static constexpr std::chrono::milliseconds DefaultLimit{20000};
    // A connection within 3 s, an answer within 8 s of sending: Baidu's pacing waits too.
    static constexpr std::chrono::milliseconds ServiceShare{11000};

    explicit TranslationGateway(std::chrono::milliseconds limit = DefaultLimit,
                                FailureMemory::Pauses pauses = skipPause)
        : m_limit(limit), m_memory(std::move(pauses))
    {
    }
    ~TranslationGateway();
    TranslationGateway(const TranslationGateway &) = delete;
    TranslationGateway &operator=(const TranslationGateway &) = delete;

    void setLimit(std::chrono::milliseconds limit) { m_limit = limit; }
    std::chrono::milliseconds limit() const { return m_limit; }
    void add(std::unique_ptr<TranslationBackend> backend);
    // The backend (by name) that the engine's own vendor runs, asked before the others.
    void setVendor(Engine engine, std::string backendName);
    const std::vector<std::unique_ptr<TranslationBackend>> &backends() const { return m_backends; }
    const TranslationBackend *find(std::string_view name) const;
    // Waits until every backend's language list is known or the time is up; true when
    // all are known.
    bool waitListsKnown(Clock::time_point until) const;
    // Ends every backend's calls under way and later: the server is stopping.
    void stop();
    // Opens a connection to each online service in the background; one that cannot be
    // reached is passed over before the first call needs it.
    void warmUp();
    // Why and until when a service is passed over; nothing when it is asked as usual.
    std::optional<ServiceSkip> skip(const std::string &service) const
    {
        return m_memory.skip(service, Clock::now());
    }

    // The backends that offer the pair, in the order they are asked.
    std::vector<const TranslationBackend *> route(const LanguagePair &pair,
                                                  std::optional<Engine> engine = {}) const;
    // All within the limit from arrival (when the request arrived; now by default).
    GatewayAnswer translate(const std::string &utf8, const LanguagePair &pair,
                            std::optional<Engine> engine = {},
                            std::optional<Clock::time_point> arrival = {}) const;

private:
    std::chrono::milliseconds m_limit;
    std::vector<std::unique_ptr<TranslationBackend>> m_backends;
    std::map<Engine, std::string> m_vendors;
    mutable FailureMemory m_memory;
    // Tries a service passed over whose pause is over, in the background.
    void startProbe(const TranslationBackend &service) const;

    std::vector<std::jthread> m_warming; // ended before the backends they use
    struct Probe
    {
        std::shared_ptr<std::atomic<bool>> done;
        std::jthread thread;
    };
    mutable std::mutex m_probesMutex;
    mutable std::vector<Probe> m_probes; // likewise
};

} // namespace mirel::siteserver
