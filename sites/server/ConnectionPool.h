#pragma once

#include "sites/core/Clock.h"

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace mirel::siteserver {

// The server's workers: each accepted connection gets a thread of its own at once, a new
// one when every thread is busy (a connection waiting for a backend or idle between
// kept-alive requests), up to maxThreads; only past that does a connection wait for a
// thread. So a request that needs no backend never waits behind backend calls or idle
// connections while fewer than maxThreads connections are open. Threads stay for later
// connections until shutdown().
class ConnectionPool : public httplib::TaskQueue
{
public:
    static constexpr size_t DefaultMaxThreads = 256;

    // accepted: run for each connection as it is handed over, before a thread takes it.
    explicit ConnectionPool(size_t maxThreads = DefaultMaxThreads,
                            std::function<void()> accepted = {})
        : m_maxThreads(maxThreads), m_accepted(std::move(accepted))
    {
    }
    ~ConnectionPool() override;
    ConnectionPool(const ConnectionPool &) = delete;
    ConnectionPool &operator=(const ConnectionPool &) = delete;

    void enqueue(std::function<void()> connection) override;
    // Serves the connections already queued, then joins every thread.
    void shutdown() override;

    size_t threads() const;

private:
    struct Job
    {
        std::function<void()> run;
        Clock::time_point accepted;
    };
    void work();

    const size_t m_maxThreads;
    const std::function<void()> m_accepted;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    size_t m_idle = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace mirel::siteserver
