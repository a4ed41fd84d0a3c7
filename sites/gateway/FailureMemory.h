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
    bool keyRefused = false; // until the settings change
    Clock::time_point until; // when not keyRefused
    std::string reason;      // the last failure's
};

// The services' recent failures: a service that failed for a reason of the network or
// the vendor is passed over for skipPause(failures in a row); after the pause one call at
// a time is let through to find out whether it is back. A refused key is passed over for
// as long as the server runs (a change of settings starts it anew).
class FailureMemory
{
public:
    // Whether the service may be asked now. A call let through after a pause holds the one
    // place until its outcome is noted.
    bool admit(const std::string &service, Clock::time_point now);
    // The outcome of a call that admit let through (or of a warm-up).
    void note(const std::string &service, const Translation &outcome, Clock::time_point now);
    // A call that ended without telling anything (it had too little time): frees its place.
    void noteNothing(const std::string &service);
    // Nothing when the service is asked as usual.
    std::optional<ServiceSkip> skip(const std::string &service, Clock::time_point now) const;

private:
    struct State
    {
        int failures = 0;
        bool keyRefused = false;
        bool trying = false;
        Clock::time_point until;
        std::string reason;
    };
    mutable std::mutex m_mutex;
    std::map<std::string, State, std::less<>> m_states;
};

} // namespace mirel::siteserver
