#pragma once

#include <httplib.h>

#include <chrono>
#include <string>

namespace mirel::siteserver {

// The largest form an engine route takes: far above any passage a person pastes (5,000
// Chinese characters, each byte percent-encoded, are 45 KB).
inline constexpr size_t MaxFormBody = 1024 * 1024;

// What of a refused body is still read and thrown away, so that a peer that sends it
// whole before reading gets to read the answer rather than a reset connection.
inline constexpr size_t MaxDrainedBody = 16 * 1024 * 1024;
inline constexpr std::chrono::milliseconds DrainTime{2000};

struct RequestBody
{
    enum class Outcome { Read, TooLarge, Broken };
    Outcome outcome = Outcome::Read;
    std::string bytes;
};

// Reads a request's body of at most limit bytes. A Content-Length over the limit is
// refused before a byte is kept; a chunked body as it passes the limit. The rest of a
// refused body is read and dropped up to MaxDrainedBody bytes and DrainTime, no more.
RequestBody readRequestBody(const httplib::Request &req, const httplib::ContentReader &reader,
                            size_t limit = MaxFormBody);

// Answers an error status with a one-line reason and closes the connection after it, so
// that the rest of a body that was not read is never taken for a next request.
void refuseAndClose(httplib::Response &res, int status, const std::string &reason);

} // namespace mirel::siteserver
