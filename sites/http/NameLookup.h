#pragma once

#include "sites/core/Clock.h"

#include <functional>
#include <string>
#include <vector>

namespace mirel::siteserver {

// Finds the addresses of a host name (numeric text, "192.0.2.1" or "2001:db8::1"), or none;
// it may block as long as the system's resolver does.
using NameResolver = std::function<std::vector<std::string>(const std::string &host)>;

// The system's resolver (getaddrinfo).
std::vector<std::string> systemAddresses(const std::string &host);

// A host's addresses, found by the resolver before the deadline. The lookup runs on a
// thread of its own that is left to end by itself when the deadline passes first.
struct NameLookup
{
    enum class Outcome { Found, NotFound, TimedOut };
    Outcome outcome = Outcome::NotFound;
    std::vector<std::string> addresses;
};
NameLookup lookUpBefore(const NameResolver &resolver, const std::string &host,
                        Clock::time_point deadline);

// Whether a host is an address already (IPv4 or IPv6, with or without brackets).
bool isNumericHost(std::string_view host);

} // namespace mirel::siteserver
