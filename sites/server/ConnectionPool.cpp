#include "sites/server/ConnectionPool.h"

#include "sites/core/RequestArrival.h"

#include <optional>

namespace mirel::siteserver {
ConnectionPool::~ConnectionPool()
{
    shutdown();
}

void ConnectionPool::enqueue(std::function<void()> connection)
{
    if (m_accepted)
        m_accepted();
    const std::lock_guard lock(m_mutex);
    m_jobs.push_back({std::move(connection), Clock::now()});
    if (m_idle >= m_jobs.size() || m_threads.size() >= m_maxThreads)
        return m_wake.notify_one();
    m_threads.emplace_back([this] { work(); });
}

void ConnectionPool::shutdown()
{
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        threads.swap(m_threads);
    }
    m_wake.notify_all();
    for (std::thread &thread : threads)
        thread.join();
}

size_t ConnectionPool::threads() const
{
    const std::lock_guard lock(m_mutex);
    return m_threads.size();
}

void ConnectionPool::work()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        ++m_idle;
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        --m_idle;
        if (m_jobs.empty())
            return; // stopping, nothing left
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        noteConnectionAccepted(job.accepted);
        job.run();
        noteConnectionAccepted(std::nullopt);
        lock.lock();
    }
}

} // namespace mirel::siteserver
