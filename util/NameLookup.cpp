#include "util/NameLookup.h"

#include <netdb.h>

#include <cstring>

namespace mirel {

namespace {

struct AddrInfoDeleter
{
    void operator()(addrinfo *list) const { freeaddrinfo(list); }
};

} // namespace

std::vector<SocketAddress> addressesOf(const std::string &host, std::uint16_t port,
                                       bool numericOnly)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | (numericOnly ? AI_NUMERICHOST : 0);
    addrinfo *found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
        return {};
    const std::unique_ptr<addrinfo, AddrInfoDeleter> list(found);
    std::vector<SocketAddress> addresses;
    for (const addrinfo *entry = list.get(); entry; entry = entry->ai_next) {
        SocketAddress address;
        if (entry->ai_addrlen > sizeof address.address)
            continue;
        std::memcpy(&address.address, entry->ai_addr, entry->ai_addrlen);
        address.length = entry->ai_addrlen;
        addresses.push_back(address);
    }
    return addresses;
}

std::string numericText(const SocketAddress &address)
{
    char text[NI_MAXHOST];
    if (::getnameinfo(reinterpret_cast<const sockaddr *>(&address.address), address.length, text,
                      sizeof text, nullptr, 0, NI_NUMERICHOST) != 0)
        return {};
    return text;
}

} // namespace mirel
