#include "sites/http/RequestPacer.h"

#include <algorithm>
#include <thread>

namespace mirel::siteserver {

bool RequestPacer::waitTurn(Clock::time_point latest)
{
    Clock::time_point turn;
    {
        const std::lock_guard lock(m_mutex);
        turn = std::max(Clock::now(), m_next);
        if (turn > latest)
            return false;
        m_next = turn + m_interval;
    }
    std::this_thread::sleep_until(turn);
    return true;
}

Clock::time_point RequestPacer::nextFree() const
{
    const std::lock_guard lock(m_mutex);
    return std::max(Clock::now(), m_next);
}

} // namespace mirel::siteserver
