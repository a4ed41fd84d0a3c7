#pragma once

#include "sites/core/Clock.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

namespace mirel::siteserver {

// Keeps the characters sent to one service within its cap over any window (an hour, say),
// across every request that uses it.
class CharacterBudget
{
public:
    CharacterBudget(size_t cap, Clock::duration window) : m_cap(cap), m_window(window) {}

    // Takes `characters` of the window's budget at `now`; false (nothing taken) when they
    // would pass the cap.
    bool take(size_t characters, Clock::time_point now = Clock::now());

private:
    const size_t m_cap;
    const Clock::duration m_window;
    std::mutex m_mutex;
    std::deque<std::pair<Clock::time_point, size_t>> m_sent;
    size_t m_total = 0;
};

} // namespace mirel::siteserver
