#pragma once

#include "sites/core/Clock.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>

namespace mirel::siteserver {

// The pairs a service translates, in its own codes (source, target).
using ServicePairs = std::set<std::pair<std::string, std::string>>;

// How often a PairList asks.
struct PairListTiming
{
    std::chrono::milliseconds limit{20000};     // for one load
    std::chrono::milliseconds firstPause{1000}; // after a failed load, doubled each time
    std::chrono::milliseconds longestPause{30000};
    std::chrono::milliseconds refresh{std::chrono::minutes(30)};
};

// A service's pair list, read in the background so that no request waits for it: asked
// at once, again after a growing pause until it answers, then again every refresh period
// and whenever askAgain() is called. Until the first answer the list is not known.
class PairList
{
public:
    struct Load
    {
        std::optional<ServicePairs> pairs; // nothing when it failed
        std::string error;                 // why it failed
    };
    using Loader = std::function<Load(Clock::time_point deadline)>;
    using Log = std::function<void(const std::string &)>;

    using Timing = PairListTiming;

    PairList(std::string service, Loader loader, Timing timing = {}, Log log = {});
    ~PairList();
    PairList(const PairList &) = delete;
    PairList &operator=(const PairList &) = delete;

    // Starts the background reader (once).
    void start();
    // Reads the list again soon (a service that restarted, a failed call).
    void askAgain();
    // Ends the reader and every wait: the server is stopping.
    void stop();
    // Waits until the list is known, the time is up or stop() is called; true when known.
    bool waitKnown(Clock::time_point until) const;

    // The last list read, or null while none was.
    std::shared_ptr<const ServicePairs> pairs() const;
    // Why the last load failed ("" after a good one).
    std::string lastError() const;

private:
    void run();

    std::string m_service;
    Loader m_loader;
    Timing m_timing;
    Log m_log;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::shared_ptr<const ServicePairs> m_pairs;
    std::string m_error;
    bool m_askAgain = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace mirel::siteserver
