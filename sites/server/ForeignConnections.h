#pragma once

#include <sys/types.h>

#include <mutex>
#include <set>

namespace mirel::siteserver {

// Ends the connections that a process of another user opens to the server, as soon as
// they are accepted and before a byte of them is read: they cannot hold a thread with a
// half-sent request. Called on every accept, before the connection is handed to a thread.
class ForeignConnections
{
public:
    explicit ForeignConnections(int port) : m_port(port) {}

    // Looks at each connection accepted on the port that was not looked at before and
    // shuts both ways those whose client is not of this user (or cannot be told).
    // Returns how many it ended.
    int endNew();

private:
    const int m_port;
    std::mutex m_mutex;
    std::set<ino_t> m_seen; // the sockets of the open connections looked at already
};

} // namespace mirel::siteserver
