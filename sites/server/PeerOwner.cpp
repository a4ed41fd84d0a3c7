#include "sites/server/PeerOwner.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace mirel::sites {
namespace {

// The address and port as the kernel prints them: each 32-bit word of the address in this
// machine's byte order, the port as a number, both in upper-case hex.
std::vector<std::string> tableForms(const Endpoint &end)
{
    in_addr v4{};
    if (::inet_pton(AF_INET, end.address.c_str(), &v4) != 1)
        return {};
    std::array<char, 64> text{};
    std::vector<std::string> forms;
    std::snprintf(text.data(), text.size(), "%08X:%04X", v4.s_addr, unsigned(end.port));
    forms.emplace_back(text.data());
    in6_addr mapped{};
    mapped.s6_addr[10] = 0xff;
    mapped.s6_addr[11] = 0xff;
    std::memcpy(&mapped.s6_addr[12], &v4.s_addr, 4);
    std::snprintf(text.data(), text.size(), "%08X%08X%08X%08X:%04X", mapped.s6_addr32[0],
                  mapped.s6_addr32[1], mapped.s6_addr32[2], mapped.s6_addr32[3],
                  unsigned(end.port));
    forms.emplace_back(text.data());
    return forms;
}

bool isOneOf(const std::string &value, const std::vector<std::string> &forms)
{
    for (const std::string &form : forms)
        if (value == form)
            return true;
    return false;
}

std::string readAll(const char *path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::optional<unsigned> socketOwner(std::string_view table, const Endpoint &local,
                                    const Endpoint &remote)
{
    const std::vector<std::string> localForms = tableForms(local);
    const std::vector<std::string> remoteForms = tableForms(remote);
    std::istringstream rows{std::string(table)};
    std::string row;
    while (std::getline(rows, row)) {
        // sl local rem st tx:rx tr:when retrnsmt uid timeout inode
        std::istringstream fields(row);
        std::array<std::string, 10> f;
        for (std::string &field : f)
            fields >> field;
        if (f[9].empty() || f[9] == "0")
            continue;
        if (!isOneOf(f[1], localForms) || !isOneOf(f[2], remoteForms))
            continue;
        try {
            return unsigned(std::stoul(f[7]));
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<unsigned> peerOwner(const Endpoint &client, const Endpoint &server)
{
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"})
        if (const auto owner = socketOwner(readAll(table), client, server))
            return owner;
    return std::nullopt;
}

} // namespace mirel::sites
