#include "sites/gateway/FailureMemory.h"

#include "sites/gateway/SkipSchedule.h"

namespace mirel::siteserver {

bool FailureMemory::admit(const std::string &service, Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_states.find(service);
    if (it == m_states.end())
        return true;
    State &state = it->second;
    if (state.keyRefused || state.trying || now < state.until)
        return false;
    state.trying = true;
    return true;
}

void FailureMemory::note(const std::string &service, const Translation &outcome,
                         Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    const bool answered = outcome.outcome != Translation::Outcome::Failed ||
                          outcome.fault == Translation::Fault::Request;
    if (answered) {
        m_states.erase(service);
        return;
    }
    State &state = m_states[service];
    state.trying = false;
    state.reason = outcome.reason;
    if (outcome.fault == Translation::Fault::Key) {
        state.keyRefused = true;
        return;
    }
    ++state.failures;
    state.until = now + skipPause(state.failures);
}

void FailureMemory::noteNothing(const std::string &service)
{
    const std::lock_guard lock(m_mutex);
    if (const auto it = m_states.find(service); it != m_states.end())
        it->second.trying = false;
}

std::optional<ServiceSkip> FailureMemory::skip(const std::string &service,
                                               Clock::time_point now) const
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_states.find(service);
    if (it == m_states.end() || (!it->second.keyRefused && now >= it->second.until))
        return std::nullopt;
    return ServiceSkip{it->second.keyRefused, it->second.until, it->second.reason};
}

} // namespace mirel::siteserver
