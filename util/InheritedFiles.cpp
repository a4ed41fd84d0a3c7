#include "util/InheritedFiles.h"

#include <dirent.h>
#include <fcntl.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace mirel {

int keepInheritedFilesFromChildren()
{
    std::vector<int> files;
    {
        const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir("/proc/self/fd"), ::closedir);
        if (!folder)
            return 0;
        while (const dirent *entry = ::readdir(folder.get())) {
            char *end = nullptr;
            const long fd = std::strtol(entry->d_name, &end, 10);
            if (end != entry->d_name && *end == '\0' && fd > 2 && fd != ::dirfd(folder.get()))
                files.push_back(int(fd));
        }
    }
    int marked = 0;
    for (const int fd : files) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC) == 0)
            ++marked;
    }
    return marked;
}

} // namespace mirel
