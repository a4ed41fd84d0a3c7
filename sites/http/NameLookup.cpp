#include "sites/http/NameLookup.h"

#include "util/NameLookup.h"

#include <arpa/inet.h>

namespace mirel::siteserver {

std::vector<std::string> systemAddresses(const std::string &host)
{
    std::vector<std::string> addresses;
    for (const SocketAddress &address : addressesOf(host, 0)) {
        std::string text = numericText(address);
        if (!text.empty())
            addresses.push_back(std::move(text));
    }
    return addresses;
}

NameLookup lookUpBefore(const NameResolver &resolver, const std::string &host,
                        Clock::time_point deadline)
{
    const auto addresses =
        mirel::lookUpBefore([resolver, host] { return resolver(host); }, deadline);
    if (!addresses)
        return {NameLookup::Outcome::TimedOut, {}};
    if (addresses->empty())
        return {NameLookup::Outcome::NotFound, {}};
    return {NameLookup::Outcome::Found, *addresses};
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
