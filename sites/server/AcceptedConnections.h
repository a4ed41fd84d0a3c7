#pragma once

namespace mirel::siteserver {

// Shuts the reading side of every connection this process accepted on the loopback port:
// one kept alive and waiting for its next request ends at once, one whose request is being
// answered still sends its answer. Called once the server has stopped listening, so that
// idle connections do not hold its end up for their keep-alive time. Returns how many.
int endAcceptedConnections(int port);

} // namespace mirel::siteserver
