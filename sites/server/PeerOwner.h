#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// A TCP endpoint as the server sees it: a dotted IPv4 address and a port.
struct Endpoint
{
    std::string address;
    int port = 0;
};

// The user id that owns the socket with these two ends in a kernel socket table (the text
// of /proc/net/tcp or /proc/net/tcp6: local and remote as hex address:port, uid in the
// eighth column). IPv4 ends also match their IPv4-mapped IPv6 form in tcp6. Rows of sockets
// no process holds (inode 0, e.g. TIME-WAIT) are skipped.
std::optional<unsigned> socketOwner(std::string_view table, const Endpoint &local,
                                    const Endpoint &remote);

// The user id of the process that holds the loopback connection coming from `client` to
// `server`: asked of the kernel through sock_diag netlink (one socket looked up), else read
// from the socket tables; nothing when there is no such socket.
std::optional<unsigned> peerOwner(const Endpoint &client, const Endpoint &server);

// Whether a connection whose peer belongs to `owner` may be served by a server running as
// user `self`: only the same user's; an owner not found is refused.
bool isOwnPeer(std::optional<unsigned> owner, unsigned self);

} // namespace mirel::siteserver
