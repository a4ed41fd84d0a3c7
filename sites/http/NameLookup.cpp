#include "sites/http/NameLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace mirel::siteserver {

std::vector<std::string> systemAddresses(const std::string &host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0)
        return {};
    std::vector<std::string> addresses;
    for (const addrinfo *entry = found; entry; entry = entry->ai_next) {
        char text[NI_MAXHOST];
        if (::getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0,
                          NI_NUMERICHOST) == 0)
            addresses.emplace_back(text);
    }
    ::freeaddrinfo(found);
    return addresses;
}

NameLookup lookUpBefore(const NameResolver &resolver, const std::string &host,
                        Clock::time_point deadline)
{
    // Shared with the lookup's thread, which may outlive this call.
    struct State
    {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::vector<std::string> addresses;
    };
    const auto state = std::make_shared<State>();
    std::thread([state, resolver, host] {
        std::vector<std::string> addresses = resolver(host);
        const std::lock_guard lock(state->mutex);
        state->addresses = std::move(addresses);
        state->finished = true;
        state->done.notify_all();
    }).detach();
    std::unique_lock lock(state->mutex);
    if (!state->done.wait_until(lock, deadline, [&state] { return state->finished; }))
        return {NameLookup::Outcome::TimedOut, {}};
    if (state->addresses.empty())
        return {NameLookup::Outcome::NotFound, {}};
    return {NameLookup::Outcome::Found, state->addresses};
}

bool isNumericHost(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const std::string text(host);
    unsigned char buffer[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, text.c_str(), buffer) == 1 ||
           ::inet_pton(AF_INET6, text.c_str(), buffer) == 1;
}

} // namespace mirel::siteserver
