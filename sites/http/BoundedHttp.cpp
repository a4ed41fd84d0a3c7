#include "sites/http/BoundedHttp.h"

#include "sites/http/ConnectProbe.h"

#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <thread>
#include <variant>

namespace mirel::siteserver {
namespace {

constexpr const char *kCaBundle = "/etc/ssl/certs/ca-certificates.crt";

// Stops the client's call once the deadline has passed or a stop is asked for, until it is
// dismissed.
class Watchdog
{
public:
    Watchdog(httplib::Client &client, Clock::time_point deadline, std::stop_token stop)
        : m_thread([this, &client, deadline, stop] { watch(client, deadline, stop); })
    {
    }
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    bool fired() const
    {
        const std::lock_guard lock(m_mutex);
        return m_fired;
    }

private:
    void watch(httplib::Client &client, Clock::time_point deadline, std::stop_token stop)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_until(lock, stop, deadline, [this] { return m_done; }))
            return;
        m_fired = true;
        // The call may still be connecting: stop it again until it has ended.
        while (!m_done) {
            lock.unlock();
            client.stop();
            lock.lock();
            m_wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_done; });
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable_any m_wake;
    bool m_done = false;
    bool m_fired = false;
    std::thread m_thread;
};

} // namespace

std::optional<ServiceAddress> parseServiceAddress(std::string_view address)
{
    const size_t scheme = address.find("://");
    if (scheme == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = address.substr(0, scheme);
    if (name != "http" && name != "https")
        return std::nullopt;
    const size_t hostStart = scheme + 3;
    const size_t slash = address.find('/', hostStart);
    const std::string_view host = address.substr(hostStart, slash - hostStart);
    if (host.empty() || host.find_first_of("?#@ ") != std::string_view::npos)
        return std::nullopt;
    ServiceAddress service{std::string(address.substr(0, hostStart + host.size())), {}};
    if (slash != std::string_view::npos) {
        std::string_view path = address.substr(slash);
        while (!path.empty() && path.back() == '/')
            path.remove_suffix(1);
        if (path.find_first_of("?# ") != std::string_view::npos)
            return std::nullopt;
        service.prefix = std::string(path);
    }
    return service;
}

namespace {

std::unique_ptr<httplib::Client> newClient(const ServiceAddress &service)
{
    auto client = std::make_unique<httplib::Client>(service.origin);
    if (!client->is_valid())
        return nullptr;
    // Headers and body leave in separate writes: without this, Nagle's rule and the
    // peer's delayed ACK add 40 ms to every call.
    client->set_tcp_nodelay(true);
#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
    if (std::error_code ignored; std::filesystem::exists(kCaBundle, ignored))
        client->set_ca_cert_path(kCaBundle);
#else
    (void)kCaBundle;
#endif
    return client;
}

// The host of "scheme://host[:port]" as the library's client names it; "" for a bracketed
// IPv6 address.
std::string hostOf(const std::string &origin)
{
    const size_t start = origin.find("://") + 3;
    if (origin.compare(start, 1, "[") == 0)
        return {};
    return origin.substr(start, origin.find(':', start) - start);
}

// The earlier of deadline and now + limit; a limit of milliseconds::max() is none (in the
// clock's nanoseconds it would overflow).
Clock::time_point within(Clock::time_point deadline, std::chrono::milliseconds limit)
{
    if (limit == std::chrono::milliseconds::max())
        return deadline;
    const Clock::time_point now = Clock::now();
    return deadline - now <= limit ? deadline : now + limit;
}

HttpReply send(httplib::Client &client, const ServiceAddress &service, const HttpCall &call,
               Clock::time_point deadline, size_t maxBody, std::stop_token stop,
               const HttpLimits &limits = HttpLimits::untilDeadline())
{
    HttpReply reply;
    if (stop.stop_requested()) {
        reply.failure = HttpReply::Failure::Unreachable;
        reply.detail = "the server is stopping";
        return reply;
    }
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        reply.failure = HttpReply::Failure::TimedOut;
        reply.detail = "no time left";
        return reply;
    }
    const auto timeout = [&](void (httplib::Client::*set)(time_t, time_t),
                             std::chrono::milliseconds limit) {
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                            within(deadline, limit) - Clock::now())
                            .count();
        (client.*set)(time_t(us / 1000000), time_t(us % 1000000));
    };
    timeout(&httplib::Client::set_connection_timeout, limits.connect);
    timeout(&httplib::Client::set_read_timeout, limits.answer);
    timeout(&httplib::Client::set_write_timeout, limits.answer);
    // A peer that trickles its answer is cut off once connect and answer have both passed.
    const bool unlimited = limits.connect == std::chrono::milliseconds::max() ||
                           limits.answer == std::chrono::milliseconds::max();
    const Clock::time_point callEnd =
        unlimited ? deadline : within(deadline, limits.connect + limits.answer);

    httplib::Request req;
    req.method = call.method;
    req.path = service.prefix + call.path;
    req.set_header("Accept", "application/json");
    for (const auto &[name, value] : call.headers)
        req.set_header(name, value);
    if (!call.contentType.empty()) {
        req.body = call.body;
        req.set_header("Content-Type", call.contentType);
    }
    bool tooLarge = false;
    req.content_receiver = [&](const char *data, size_t length, uint64_t, uint64_t) {
        if (reply.body.size() + length > maxBody) {
            tooLarge = true;
            return false;
        }
        reply.body.append(data, length);
        return true;
    };

    httplib::Response res;
    httplib::Error error = httplib::Error::Success;
    bool sent = false;
    bool late = false;
    {
        const Clock::time_point start = Clock::now();
        const Watchdog watchdog(client, callEnd, stop);
        sent = client.send(req, res, error);
        // A connection or an answer over its limit ends before the deadline.
        const bool overLimit =
            !sent && (error == httplib::Error::ConnectionTimeout ||
                      (error == httplib::Error::Read && !unlimited && callEnd < deadline &&
                       Clock::now() - start >= limits.answer - std::chrono::milliseconds(50)));
        late = watchdog.fired() || overLimit;
    }
    if (stop.stop_requested()) {
        reply.failure = HttpReply::Failure::Unreachable;
        reply.detail = "the server is stopping";
    } else if (tooLarge) {
        reply.failure = HttpReply::Failure::TooLarge;
        reply.detail = "answer over " + std::to_string(maxBody) + " bytes";
    } else if (late || Clock::now() >= callEnd) {
        reply.failure = HttpReply::Failure::TimedOut;
        reply.detail = "no answer in time";
    } else if (!sent) {
        reply.failure = HttpReply::Failure::Unreachable;
        reply.detail = httplib::to_string(error);
    } else {
        reply.status = res.status;
        reply.date = res.get_header_value("Date");
    }
    if (reply.failure != HttpReply::Failure::None)
        reply.body.clear();
    return reply;
}

// The host's addresses, looked up under the deadline; none for an address given as one.
std::variant<std::vector<std::string>, HttpReply>
addressesOf(const NameResolver &resolver, const std::string &host, Clock::time_point deadline)
{
    if (host.empty() || isNumericHost(host))
        return std::vector<std::string>();
    NameLookup found = lookUpBefore(resolver, host, deadline);
    switch (found.outcome) {
    case NameLookup::Outcome::Found:
        return std::move(found.addresses);
    case NameLookup::Outcome::TimedOut:
        return HttpReply{
            HttpReply::Failure::TimedOut, "no address for " + host + " in time", 0, {}};
    case NameLookup::Outcome::NotFound:
        break;
    }
    return HttpReply{HttpReply::Failure::Unreachable, "cannot find host " + host, 0, {}};
}

// Sends the call to the host's addresses in turn while one cannot be reached (the name
// stays in the Host header and TLS); used tells which answered.
HttpReply sendToAny(httplib::Client &client, const ServiceAddress &service, const HttpCall &call,
                    const std::vector<std::string> &addresses, Clock::time_point deadline,
                    size_t maxBody, size_t &used, std::stop_token stop = {},
                    const HttpLimits &limits = HttpLimits::untilDeadline())
{
    used = 0;
    if (addresses.empty())
        return send(client, service, call, deadline, maxBody, stop, limits);
    const std::string host = hostOf(service.origin);
    HttpReply reply;
    for (size_t i = 0; i < addresses.size(); ++i) {
        used = i;
        client.set_hostname_addr_map({{host, addresses[i]}});
        reply = send(client, service, call, deadline, maxBody, stop, limits);
        if (reply.failure != HttpReply::Failure::Unreachable || stop.stop_requested())
            break;
    }
    return reply;
}

} // namespace

HttpReply callBounded(const ServiceAddress &service, const HttpCall &call,
                      Clock::time_point deadline, size_t maxBody, const NameResolver &resolver)
{
    const std::unique_ptr<httplib::Client> client = newClient(service);
    if (!client)
        return {HttpReply::Failure::Unreachable, "unusable address " + service.origin, 0, {}};
    auto addresses = addressesOf(resolver, hostOf(service.origin), deadline);
    if (auto *failure = std::get_if<HttpReply>(&addresses))
        return std::move(*failure);
    size_t used = 0;
    return sendToAny(*client, service, call, std::get<std::vector<std::string>>(addresses),
                     deadline, maxBody, used);
}

HttpConnections::HttpConnections(ServiceAddress service, NameResolver resolver, HttpLimits limits)
    : m_service(std::move(service)), m_resolver(std::move(resolver)), m_limits(limits)
{
}

HttpConnections::~HttpConnections() = default;

void HttpConnections::close()
{
    m_stop.request_stop();
    const std::lock_guard lock(m_mutex);
    m_idle.clear();
}

HttpReply HttpConnections::call(const HttpCall &call, Clock::time_point deadline,
                                size_t maxBody) const
{
    const std::stop_token stop = m_stop.get_token();
    if (stop.stop_requested())
        return {HttpReply::Failure::Unreachable, "the server is stopping", 0, {}};
    std::unique_ptr<httplib::Client> client;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_idle.empty()) {
            client = std::move(m_idle.back());
            m_idle.pop_back();
        }
    }
    if (!client)
        client = newClient(m_service);
    if (!client)
        return {HttpReply::Failure::Unreachable, "unusable address " + m_service.origin, 0, {}};
    std::vector<std::string> addresses;
    {
        const std::lock_guard lock(m_mutex);
        if (Clock::now() - m_addressFound < AddressKept)
            addresses = m_addresses;
    }
    if (addresses.empty()) {
        auto found =
            addressesOf(m_resolver, hostOf(m_service.origin), within(deadline, m_limits.connect));
        if (auto *failure = std::get_if<HttpReply>(&found))
            return std::move(*failure);
        addresses = std::move(std::get<std::vector<std::string>>(found));
    }
    client->set_keep_alive(true);
    size_t used = 0;
    HttpReply reply =
        sendToAny(*client, m_service, call, addresses, deadline, maxBody, used, stop, m_limits);
    if (!addresses.empty()) {
        // The address that answered is tried first next time.
        std::rotate(addresses.begin(), addresses.begin() + ptrdiff_t(used), addresses.end());
        const std::lock_guard lock(m_mutex);
        if (m_addresses != addresses || Clock::now() - m_addressFound >= AddressKept)
            m_addressFound = Clock::now();
        m_addresses = std::move(addresses);
    }
    // Only a connection whose call went through cleanly is used again.
    if (reply.failure == HttpReply::Failure::None && reply.status < 500) {
        const std::lock_guard lock(m_mutex);
        if (m_idle.size() < MaxIdleConnections && !stop.stop_requested())
            m_idle.push_back(std::move(client));
    }
    return reply;
}

HttpReply HttpConnections::warm(Clock::time_point deadline) const
{
    const std::stop_token stop = m_stop.get_token();
    if (stop.stop_requested())
        return {HttpReply::Failure::Unreachable, "the server is stopping", 0, {}};
    const Clock::time_point until = within(deadline, m_limits.connect);
    std::string host = hostOf(m_service.origin);
    std::vector<std::string> addresses;
    if (host.empty() || isNumericHost(host)) {
        const size_t start = m_service.origin.find("://") + 3;
        const size_t end =
            host.empty() ? m_service.origin.find(']', start) + 1 : start + host.size();
        addresses.push_back(m_service.origin.substr(start, end - start));
    } else {
        auto found = addressesOf(m_resolver, host, until);
        if (auto *failure = std::get_if<HttpReply>(&found))
            return std::move(*failure);
        addresses = std::move(std::get<std::vector<std::string>>(found));
        const std::lock_guard lock(m_mutex);
        m_addresses = addresses;
        m_addressFound = Clock::now();
    }
    if (const auto failure = probeConnection(addresses, portOf(m_service.origin), until))
        return {failure->timedOut ? HttpReply::Failure::TimedOut : HttpReply::Failure::Unreachable,
                failure->detail,
                0,
                {}};
    return {};
}

} // namespace mirel::siteserver
