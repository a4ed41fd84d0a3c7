#include "sites/apertium/ApyLog.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace mirel::siteserver {

ApyLogRun openApyLog(const std::filesystem::path &file, std::uintmax_t limit)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > limit) {
        std::filesystem::path old = file;
        old += ".1";
        std::filesystem::rename(file, old, error);
    }
    ApyLogRun run;
    run.fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    struct stat status
    {
    };
    if (run.fd >= 0 && ::fstat(run.fd, &status) == 0)
        run.start = std::uintmax_t(status.st_size);
    return run;
}

std::string textFrom(const std::filesystem::path &file, std::uintmax_t offset)
{
    std::ifstream in(file, std::ios::binary);
    in.seekg(0, std::ios::end);
    const auto size = std::uintmax_t(std::max<std::streamoff>(in.tellg(), 0));
    in.seekg(std::streamoff(offset <= size ? offset : 0));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace mirel::siteserver
