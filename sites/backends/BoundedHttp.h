#pragma once

#include "sites/backends/Translation.h"

#include <string>

namespace mirel::sites {

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
};

struct HttpReply
{
    enum class Failure { None, Unreachable, TimedOut, TooLarge };
    Failure failure = Failure::None;
    std::string detail; // why, when failed
    int status = 0;
    std::string body;
};

inline constexpr size_t MaxBackendAnswer = 4 * 1024 * 1024;

// One request that ends by the deadline whatever the peer does (a trickling or silent
// peer is cut off), with a body of at most maxBody bytes.
HttpReply callBounded(const ServiceAddress &service, const HttpCall &call,
                      Clock::time_point deadline, size_t maxBody = MaxBackendAnswer);

} // namespace mirel::sites
