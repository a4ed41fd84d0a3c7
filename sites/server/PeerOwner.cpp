#include "sites/server/PeerOwner.h"

#include <arpa/inet.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace mirel::siteserver {
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

struct DiagAnswer
{
    bool asked = false; // the kernel answered: owner is the answer
    std::optional<unsigned> owner;
};

// Asks the kernel (sock_diag netlink) for the one TCP socket from `local` to `remote`.
DiagAnswer askSocketDiag(const Endpoint &local, const Endpoint &remote)
{
    struct Request
    {
        nlmsghdr header;
        inet_diag_req_v2 body;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    request.header.nlmsg_flags = NLM_F_REQUEST;
    request.body.sdiag_family = AF_INET;
    request.body.sdiag_protocol = IPPROTO_TCP;
    request.body.idiag_states = ~0u;
    request.body.id.idiag_sport = htons(uint16_t(local.port));
    request.body.id.idiag_dport = htons(uint16_t(remote.port));
    request.body.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    request.body.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    if (::inet_pton(AF_INET, local.address.c_str(), &request.body.id.idiag_src[0]) != 1 ||
        ::inet_pton(AF_INET, remote.address.c_str(), &request.body.id.idiag_dst[0]) != 1)
        return {true, std::nullopt};

    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0)
        return {};
    const auto closeFd = [fd] { ::close(fd); };
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<const sockaddr *>(&kernel),
                 sizeof kernel) != ssize_t(sizeof request)) {
        closeFd();
        return {};
    }
    alignas(nlmsghdr) std::array<char, 8192> buffer{};
    const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
    closeFd();
    if (got < ssize_t(sizeof(nlmsghdr)))
        return {};
    const auto *reply = reinterpret_cast<const nlmsghdr *>(buffer.data());
    if (!NLMSG_OK(reply, unsigned(got)))
        return {};
    if (reply->nlmsg_type == NLMSG_ERROR) {
        const auto *error = static_cast<const nlmsgerr *>(NLMSG_DATA(reply));
        // No such socket is an answer; anything else (no sock_diag here) is not.
        if (reply->nlmsg_len >= NLMSG_LENGTH(sizeof(nlmsgerr)) && error->error == -ENOENT)
            return {true, std::nullopt};
        return {};
    }
    if (reply->nlmsg_type != SOCK_DIAG_BY_FAMILY ||
        reply->nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg)))
        return {};
    const auto *found = static_cast<const inet_diag_msg *>(NLMSG_DATA(reply));
    return {true, found->idiag_uid};
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

bool isOwnPeer(std::optional<unsigned> owner, unsigned self)
{
    return owner.has_value() && *owner == self;
}

std::optional<unsigned> peerOwner(const Endpoint &client, const Endpoint &server)
{
    const DiagAnswer answer = askSocketDiag(client, server);
    if (answer.asked)
        return answer.owner;
    // Reading the whole tables takes milliseconds on a large machine: only without netlink.
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"})
        if (const auto owner = socketOwner(readAll(table), client, server))
            return owner;
    return std::nullopt;
}

} // namespace mirel::siteserver
