#pragma once

#include "sites/apertium/ApyProcess.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace mirel::siteserver {

struct ApyWatch
{
    long memoryMiB = 1024;                       // APy and its pipelines together
    std::chrono::milliseconds check{1000};       // how often APy is looked at
    std::chrono::milliseconds memoryCheck{2000}; // how often its memory is measured
    std::chrono::milliseconds firstPause{1000};  // before starting again, doubled each time
    std::chrono::milliseconds longestPause{60000};
    std::chrono::milliseconds startLimit{60000};
    std::chrono::milliseconds leastRun{15000}; // before a start afresh for memory
};

// Keeps APy running in the background: starts it, reaps and starts it again when it ends
// (after a pause that grows while it keeps ending), and starts it afresh when it and its
// pipelines use more memory than allowed (their proportional set size) and neither a
// translation nor a trial of the pairs is under way. After each
// start, ready() is called (to read its list again and start the pipelines used last).
class ApySupervisor
{
public:
    using Log = std::function<void(const std::string &)>;

    ApySupervisor(ApyOptions apy, ApyWatch watch, Log log);
    ~ApySupervisor();
    ApySupervisor(const ApySupervisor &) = delete;
    ApySupervisor &operator=(const ApySupervisor &) = delete;

    // APy's address, fixed before it starts.
    std::string address() const { return m_apy.address(); }
    // Starts watching (once). busy: whether a translation or a trial is under way.
    void start(std::function<void()> ready, std::function<bool()> busy);
    // Waits until APy answered once or the time is up; the last error when it did not.
    std::string waitStarted(Clock::time_point until) const;
    // APy's process id (-1 while not running).
    pid_t pid() const;

private:
    void run();
    bool pause(std::chrono::milliseconds length); // false when stopping

    ApyProcess m_apy;
    ApyWatch m_watch;
    Log m_log;
    std::function<void()> m_ready;
    std::function<bool()> m_busy;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    std::stop_source m_stop; // asked when m_stopping is set: ends a start under way
    bool m_started = false;
    std::string m_error = "APy is starting";
    pid_t m_pid = -1;
    std::thread m_thread;
};

} // namespace mirel::siteserver
