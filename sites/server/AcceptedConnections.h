#pragma once

#include <vector>

namespace mirel::siteserver {

// The descriptors of the connections this process accepted on the loopback port (not the
// listening socket, not the clients' own ends).
std::vector<int> acceptedConnections(int port);

// Shuts the reading side of every connection this process accepted on the loopback port:
// one kept alive and waiting for its next request ends at once, one whose request is being
// answered still sends its answer. Called once the server has stopped listening, so that
// idle connections do not hold its end up for their keep-alive time. Returns how many.
int endAcceptedConnections(int port);

} // namespace mirel::siteserver
