#include "sites/apertium/ApySupervisor.h"

#include "sites/apertium/ProcessTree.h"

namespace mirel::siteserver {
namespace {

std::string seconds(std::chrono::milliseconds length)
{
    return std::to_string((length.count() + 999) / 1000) + " s";
}

} // namespace

ApySupervisor::ApySupervisor(ApyOptions apy, ApyWatch watch, Log log)
    : m_apy(std::move(apy)), m_watch(watch), m_log(std::move(log))
{
}

ApySupervisor::~ApySupervisor()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stop.request_stop();
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ApySupervisor::start(std::function<void()> ready, std::function<bool()> busy)
{
    const std::lock_guard lock(m_mutex);
    if (m_thread.joinable() || m_stopping)
        return;
    m_ready = std::move(ready);
    m_busy = std::move(busy);
    // APy is ended by a signal when the thread that started it ends: this thread lives
    // as long as APy does.
    m_thread = std::thread([this] { run(); });
}

std::string ApySupervisor::waitStarted(Clock::time_point until) const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_until(lock, until, [this] { return m_started || m_stopping; });
    return m_started ? std::string() : m_error;
}

pid_t ApySupervisor::pid() const
{
    const std::lock_guard lock(m_mutex);
    return m_pid;
}

bool ApySupervisor::pause(std::chrono::milliseconds length)
{
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_for(lock, length, [this] { return m_stopping; });
}

void ApySupervisor::run()
{
    auto pauseLength = m_watch.firstPause;
    while (true) {
        const std::string error =
            m_apy.start(Clock::now() + m_watch.startLimit, m_stop.get_token());
        {
            const std::lock_guard lock(m_mutex);
            m_pid = m_apy.pid();
            m_started = m_started || error.empty();
            if (!error.empty())
                m_error = error;
        }
        m_changed.notify_all();
        if (m_stop.stop_requested())
            break;
        if (!error.empty()) {
            if (m_log)
                m_log("Apertium not started: " + error + " (trying again in " +
                      seconds(pauseLength) + ")");
            if (!pause(pauseLength))
                break;
            pauseLength = std::min(pauseLength * 2, m_watch.longestPause);
            continue;
        }
        if (m_log)
            m_log("APy started at " + m_apy.address() + " (pid " + std::to_string(m_apy.pid()) +
                  ")");
        if (m_ready)
            m_ready();
        const auto startedAt = Clock::now();
        auto measuredAt = startedAt;
        bool again = false;
        while (!again && pause(m_watch.check)) {
            if (const auto how = m_apy.ended()) {
                // One that ran a while is started again soon; one that keeps ending waits longer.
                if (Clock::now() - startedAt > m_watch.longestPause)
                    pauseLength = m_watch.firstPause;
                if (m_log)
                    m_log("APy ended (" + *how + "); starting it again in " + seconds(pauseLength));
                again = true;
                if (!pause(pauseLength)) {
                    m_apy.stop();
                    return;
                }
                pauseLength = std::min(pauseLength * 2, m_watch.longestPause);
                break;
            }
            if (Clock::now() - measuredAt < m_watch.memoryCheck)
                continue;
            measuredAt = Clock::now();
            // Pages shared between the pipelines (the same programs, libraries, data) are
            // counted once, as they are used.
            const long usedMiB = treePssKiB(m_apy.pid()) / 1024;
            if (usedMiB > m_watch.memoryMiB && Clock::now() - startedAt >= m_watch.leastRun &&
                !(m_busy && m_busy())) {
                if (m_log)
                    m_log("APy and its pipelines use " + std::to_string(usedMiB) + " MiB of " +
                          std::to_string(m_watch.memoryMiB) +
                          ": started afresh with the pairs used last");
                m_apy.stop();
                again = true;
            }
        }
        if (!again)
            break;
    }
    m_apy.stop();
    const std::lock_guard lock(m_mutex);
    m_pid = -1;
}

} // namespace mirel::siteserver
