#pragma once

#include "sites/core/Clock.h"

#include <mutex>
#include <optional>

namespace mirel::siteserver {

// Keeps the calls to one service at most one per interval, across every request that
// uses it: each call takes the next free moment, and waits for it.
class RequestPacer
{
public:
    explicit RequestPacer(Clock::duration interval) : m_interval(interval) {}

    Clock::duration interval() const { return m_interval; }
    // Takes the next free moment and waits until it has come; false (nothing taken, no
    // wait) when that moment would be after `latest`.
    bool waitTurn(Clock::time_point latest);
    // The moment the next call could start, now or later.
    Clock::time_point nextFree() const;

private:
    const Clock::duration m_interval;
    mutable std::mutex m_mutex;
    Clock::time_point m_next{};
};

} // namespace mirel::siteserver
