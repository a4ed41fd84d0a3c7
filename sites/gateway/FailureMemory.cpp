#include "sites/gateway/FailureMemory.h"

namespace mirel::siteserver {

FailureMemory::FailureMemory(Pauses pauses) : m_pauses(std::move(pauses)) {}

FailureMemory::Admission FailureMemory::admit(const std::string &service, Clock::time_point now)
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_states.find(service);
    if (it == m_states.end())
        return Admission::Ask;
    State &state = it->second;
    if (state.trying || now < state.until)
        return Admission::Skip;
    state.trying = true;
    return Admission::Probe;
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
    ++state.failures;
    state.until = now + m_pauses(state.failures);
}

std::optional<ServiceSkip> FailureMemory::skip(const std::string &service,
                                               Clock::time_point now) const
{
    const std::lock_guard lock(m_mutex);
    const auto it = m_states.find(service);
    if (it == m_states.end() || (now >= it->second.until && !it->second.trying))
        return std::nullopt;
    return ServiceSkip{it->second.until, it->second.reason, it->second.trying};
}

} // namespace mirel::siteserver
