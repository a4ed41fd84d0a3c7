#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace mirel::siteserver {

// APy's log opened for one run: appended to, never cut; beyond limit bytes the old log
// moves to <file>.1 first (one old copy kept).
struct ApyLogRun
{
    int fd = -1;              // open for appending, close-on-exec; -1 when it cannot be opened
    std::uintmax_t start = 0; // where this run's output begins
};
ApyLogRun openApyLog(const std::filesystem::path &file, std::uintmax_t limit);

// The file's text from offset on (all of it when it is shorter: it moved meanwhile).
std::string textFrom(const std::filesystem::path &file, std::uintmax_t offset);

} // namespace mirel::siteserver
