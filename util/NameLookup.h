#pragma once

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace mirel {

// One address a host name resolved to, for a TCP connect.
struct SocketAddress
{
    sockaddr_storage address{};
    socklen_t length = 0;
};

// The system's addresses of host for a TCP connect to port (getaddrinfo), in its order;
// with numericOnly, only when the host is written as an address. Empty when none.
std::vector<SocketAddress> addressesOf(const std::string &host, std::uint16_t port,
                                       bool numericOnly = false);

// The address as numeric text ("192.0.2.1", "2001:db8::1"); empty when it has none.
std::string numericText(const SocketAddress &address);

// Runs lookup on a thread of its own and gives its result, or nothing when the deadline
// passes first: the thread, which owns everything it touches, is then left to finish
// alone. What lookup throws is thrown here; a thread that cannot start throws
// std::system_error.
template <typename Lookup>
std::optional<std::invoke_result_t<Lookup &>>
lookUpBefore(Lookup lookup, std::chrono::steady_clock::time_point deadline)
{
    using Result = std::invoke_result_t<Lookup &>;
    // Shared with the thread, which may outlive this call.
    struct Pending
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::optional<Result> result;
        std::exception_ptr error;
    };
    const auto pending = std::make_shared<Pending>();
    std::thread([pending, lookup = std::move(lookup)]() mutable {
        std::optional<Result> result;
        std::exception_ptr error;
        try {
            result.emplace(lookup());
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard lock(pending->mutex);
        pending->result = std::move(result);
        pending->error = error;
        pending->done = true;
        pending->finished.notify_all();
    }).detach();
    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_until(lock, deadline, [&pending] { return pending->done; }))
        return std::nullopt;
    if (pending->error)
        std::rethrow_exception(pending->error);
    return std::move(pending->result);
}

} // namespace mirel
