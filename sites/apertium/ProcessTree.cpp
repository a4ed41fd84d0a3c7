#include "sites/apertium/ProcessTree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace mirel::siteserver {

pid_t parentInStat(std::string_view stat)
{
    // The name in brackets may hold anything, brackets and blanks too.
    const size_t close = stat.rfind(')');
    if (close == std::string_view::npos || close + 4 >= stat.size())
        return -1;
    const std::string rest(stat.substr(close + 4)); // ") S " then the parent
    char *end = nullptr;
    const long parent = std::strtol(rest.c_str(), &end, 10);
    return end == rest.c_str() ? -1 : pid_t(parent);
}

long treeRssKiB(const std::vector<ProcessEntry> &processes, pid_t root)
{
    std::multimap<pid_t, const ProcessEntry *> children;
    const ProcessEntry *top = nullptr;
    for (const ProcessEntry &entry : processes) {
        children.emplace(entry.parent, &entry);
        if (entry.pid == root)
            top = &entry;
    }
    if (!top)
        return 0;
    long total = 0;
    std::vector<const ProcessEntry *> open{top};
    while (!open.empty()) {
        const ProcessEntry *entry = open.back();
        open.pop_back();
        total += entry->rssKiB;
        const auto [first, last] = children.equal_range(entry->pid);
        for (auto it = first; it != last; ++it)
            if (it->second->pid != entry->pid)
                open.push_back(it->second);
    }
    return total;
}

std::vector<ProcessEntry> readProcesses()
{
    std::vector<ProcessEntry> list;
    const long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    std::error_code error;
    for (const auto &dir : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = dir.path().filename();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream statFile(dir.path() / "stat");
        std::string stat;
        std::getline(statFile, stat);
        std::ifstream statm(dir.path() / "statm");
        long size = 0;
        long resident = 0;
        if (!(statm >> size >> resident))
            continue;
        const pid_t parent = parentInStat(stat);
        if (parent >= 0)
            list.push_back({pid_t(std::atol(name.c_str())), parent, resident * pageKiB});
    }
    return list;
}

} // namespace mirel::siteserver
