#pragma once

#include <chrono>

namespace mirel::siteserver {

// The one clock of the site server: every deadline, pause and arrival time.
using Clock = std::chrono::steady_clock;

} // namespace mirel::siteserver
