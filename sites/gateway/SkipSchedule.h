#pragma once

#include "sites/core/Clock.h"

namespace mirel::siteserver {

// How long a service that failed `failures` times in a row for a reason of the network
// or the vendor is passed over: 30 s, then 2 minutes, then 10 minutes; none before a
// failure.
Clock::duration skipPause(int failures);

} // namespace mirel::siteserver
