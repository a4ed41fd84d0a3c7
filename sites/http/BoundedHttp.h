#pragma once

#include "sites/core/Clock.h"
#include "sites/http/NameLookup.h"

#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace httplib {
class Client;
}

namespace mirel::siteserver {

// An HTTP service's address as given on the command line: "http://host:port" with an
// optional path prefix ("https://example.org/translate-api").
struct ServiceAddress
{
    std::string origin; // scheme://host[:port]
    std::string prefix; // "" or "/path" without a trailing "/"
};

// Nothing for an address that is not http(s)://host[:port][/path].
std::optional<ServiceAddress> parseServiceAddress(std::string_view address);

struct HttpCall
{
    std::string method = "GET";
    std::string path; // after the prefix, from "/"
    std::string body;
    std::string contentType;
    // Extra request headers (an Authorization header, say).
    std::vector<std::pair<std::string, std::string>> headers = {};
};

struct HttpReply
{
    enum class Failure { None, Unreachable, TimedOut, TooLarge };
    Failure failure = Failure::None;
    std::string detail; // why, when failed
    int status = 0;
    std::string body;
    std::string date; // the answer's Date header, when it has one
};

inline constexpr size_t MaxBackendAnswer = 4 * 1024 * 1024;

// How long one call to a service may take, within its deadline: a connection (name
// lookup, TCP, TLS) not made within connect, or no answer within answer of sending,
// ends the call as timed out. A local service or a slow model waits for the deadline.
struct HttpLimits
{
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds answer{8000};

    static constexpr HttpLimits untilDeadline()
    {
        return {std::chrono::milliseconds::max(), std::chrono::milliseconds::max()};
    }
};

// One request that ends by the deadline whatever the peer does (a trickling or silent
// peer is cut off, a slow name lookup is left behind), with a body of at most maxBody
// bytes. The host's name is looked up first, under the deadline; the connection goes to
// its address while the Host header and TLS (SNI, the certificate's name) keep the name.
HttpReply callBounded(const ServiceAddress &service, const HttpCall &call,
                      Clock::time_point deadline, size_t maxBody = MaxBackendAnswer,
                      const NameResolver &resolver = systemAddresses);

// Kept connections to one service, so that a call does not pay for a new connection
// each time: each is used by one call at a time, and one whose call failed is dropped.
// Calls end by their deadline as callBounded's do.
class HttpConnections
{
public:
    static constexpr size_t MaxIdleConnections = 8;

    explicit HttpConnections(ServiceAddress service, NameResolver resolver = systemAddresses,
                             HttpLimits limits = {});
    ~HttpConnections();
    HttpConnections(const HttpConnections &) = delete;
    HttpConnections &operator=(const HttpConnections &) = delete;

    const ServiceAddress &service() const { return m_service; }
    HttpReply call(const HttpCall &call, Clock::time_point deadline,
                   size_t maxBody = MaxBackendAnswer) const;
    // Looks the host up (kept for the next call) and opens a TCP connection to it within
    // the connect limit, then closes it: nothing is sent. So a service that cannot be
    // reached shows before a call needs it. The reply's failure tells.
    HttpReply warm(Clock::time_point deadline) const;
    // Ends the calls under way, and every later call at once, as unreachable (the server
    // is stopping).
    void close();

    // A name's address is kept this long.
    static constexpr std::chrono::seconds AddressKept{60};

private:
    ServiceAddress m_service;
    NameResolver m_resolver;
    HttpLimits m_limits;
    std::stop_source m_stop;
    mutable std::mutex m_mutex;
    mutable std::vector<std::unique_ptr<httplib::Client>> m_idle;
    mutable std::vector<std::string> m_addresses; // the host's, the last one that answered first
    mutable Clock::time_point m_addressFound{};
};

} // namespace mirel::siteserver
