#pragma once

#include "sites/core/Clock.h"
#include "sites/gateway/Translation.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace mirel::siteserver {

// Why and until when a service is passed over.
struct ServiceSkip
{
    Clock::time_point until;
    std::string reason;   // the last failure's
    bool probing = false; // the pause is over and the service is being tried
};

// The services' recent failures: a service that failed for a reason of the network or
// the vendor is passed over for skipPause(failures in a row); after the pause it is tried
// once in the background (a probe) while users' calls keep passing it over, and asked
// again once the probe answered. (A refused key is the backend's
// reach: the gateway passes such a service over until the settings change.)
class FailureMemory
{
public:
    // How long a service that failed n times in a row is passed over.
    using Pauses = std::function<Clock::duration(int failures)>;
    explicit FailureMemory(Pauses pauses);

    enum class Admission {
        Ask,   // as usual
        Skip,  // passed over
        Probe, // passed over, and the caller starts the one probe (its outcome is noted)
    };
    Admission admit(const std::string &service, Clock::time_point now);
    // The outcome of a call, a probe or a warm-up.
    void note(const std::string &service, const Translation &outcome, Clock::time_point now);
    // Nothing when the service is asked as usual.
    std::optional<ServiceSkip> skip(const std::string &service, Clock::time_point now) const;

private:
    struct State
    {
        int failures = 0;
        bool trying = false;
        Clock::time_point until;
        std::string reason;
    };
    Pauses m_pauses;
    mutable std::mutex m_mutex;
    std::map<std::string, State, std::less<>> m_states;
};

} // namespace mirel::siteserver
