#pragma once

#include "net/HttpErrors.h"

namespace mirel {

inline constexpr int kHostNotFound = 11001;
inline constexpr int kConnectionTimedOut = 10060;

// The text shown for a socket error number; empty for a number without one.
QString socketErrorText(int errorCode);
// The socket error number for an errno value; 0 when errno has none.
int socketErrorCodeForErrno(int err);

// The error for a socket error number with its text.
ESocketError socketError(int errorCode);
// The error for an errno value: its socket error number and text when it has one,
// otherwise errno itself with the system's text.
ESocketError socketErrorFromErrno(int err);

} // namespace mirel
