#pragma once

#include "sites/core/Clock.h"

#include <optional>
#include <string>
#include <vector>

namespace mirel::siteserver {

// Opens a TCP connection to the first of the addresses that takes one before the deadline
// and closes it again: nothing is sent. Nothing when one was made, else why not.
//   addresses: numeric addresses ("192.0.2.1", "2001:db8::1", "[2001:db8::1]").
struct ProbeFailure
{
    bool timedOut = false; // no address answered in time (else all refused)
    std::string detail;
};
std::optional<ProbeFailure> probeConnection(const std::vector<std::string> &addresses, int port,
                                            Clock::time_point deadline);

// The port of "scheme://host[:port]": the one given, else the scheme's (80 or 443); 0 for
// a port that is not a number.
int portOf(const std::string &origin);

} // namespace mirel::siteserver
