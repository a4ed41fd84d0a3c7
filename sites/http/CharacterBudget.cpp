#include "sites/http/CharacterBudget.h"

namespace mirel::siteserver {

bool CharacterBudget::take(size_t characters, Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    while (!m_sent.empty() && m_sent.front().first + m_window <= now) {
        m_total -= m_sent.front().second;
        m_sent.pop_front();
    }
    if (m_total + characters > m_cap)
        return false;
    m_sent.emplace_back(now, characters);
    m_total += characters;
    return true;
}

} // namespace mirel::siteserver
