#pragma once

#include "sites/core/Clock.h"

#include <optional>

namespace mirel::siteserver {

// The worker thread that serves a connection notes when it was accepted (nothing once
// the connection is done).
void noteConnectionAccepted(std::optional<Clock::time_point> accepted);

// When the request the calling thread is handling arrived: the first request of a
// connection arrived when the connection was accepted (a wait for a thread counts), a
// later one when its head was read. markRequestArrival() is called as each request's
// head has been read (the server's pre-routing step); requestArrival() by its handler.
void markRequestArrival();
Clock::time_point requestArrival();

} // namespace mirel::siteserver
