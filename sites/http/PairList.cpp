#include "sites/http/PairList.h"

#include <algorithm>

namespace mirel::siteserver {

PairList::PairList(std::string service, Loader loader, Timing timing, Log log)
    : m_service(std::move(service)), m_loader(std::move(loader)), m_timing(timing),
      m_log(std::move(log))
{
}

PairList::~PairList()
{
    stop();
    if (m_thread.joinable())
        m_thread.join();
}

void PairList::start()
{
    const std::lock_guard lock(m_mutex);
    if (!m_thread.joinable() && !m_stopping)
        m_thread = std::thread([this] { run(); });
}

void PairList::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
}

void PairList::askAgain()
{
    {
        const std::lock_guard lock(m_mutex);
        m_askAgain = true;
    }
    m_changed.notify_all();
}

bool PairList::waitKnown(Clock::time_point until) const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_until(lock, until, [this] { return m_pairs != nullptr || m_stopping; });
    return m_pairs != nullptr;
}

std::shared_ptr<const ServicePairs> PairList::pairs() const
{
    const std::lock_guard lock(m_mutex);
    return m_pairs;
}

std::string PairList::lastError() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

void PairList::run()
{
    std::chrono::milliseconds pause = m_timing.firstPause;
    while (true) {
        Load load = m_loader(Clock::now() + m_timing.limit);
        std::chrono::milliseconds next = m_timing.refresh;
        std::string logLine;
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            if (load.pairs) {
                if (!m_pairs || !m_error.empty())
                    logLine = m_service + ": " + std::to_string(load.pairs->size()) + " pairs";
                m_pairs = std::make_shared<const ServicePairs>(std::move(*load.pairs));
                m_error.clear();
                pause = m_timing.firstPause;
            } else {
                if (load.error != m_error)
                    logLine = m_service + " not ready (asked again later): " + load.error;
                m_error = load.error.empty() ? std::string("no answer") : load.error;
                next = pause;
                pause = std::min(pause * 2, m_timing.longestPause);
            }
        }
        m_changed.notify_all();
        if (m_log && !logLine.empty())
            m_log(logLine);
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, next, [this] { return m_stopping || m_askAgain; });
        if (m_stopping)
            return;
        m_askAgain = false;
    }
}

} // namespace mirel::siteserver
