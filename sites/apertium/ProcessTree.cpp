#include "sites/apertium/ProcessTree.h"

#include <algorithm>
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

std::vector<pid_t> treeOf(const std::vector<ProcessEntry> &processes, pid_t root)
{
    std::multimap<pid_t, pid_t> children;
    bool listed = false;
    for (const ProcessEntry &entry : processes) {
        if (entry.pid != entry.parent)
            children.emplace(entry.parent, entry.pid);
        listed = listed || entry.pid == root;
    }
    std::vector<pid_t> tree;
    if (listed)
        tree.push_back(root);
    for (size_t i = 0; i < tree.size(); ++i) {
        const auto [first, last] = children.equal_range(tree[i]);
        for (auto it = first; it != last; ++it)
            tree.push_back(it->second);
    }
    return tree;
}

long treeRssKiB(const std::vector<ProcessEntry> &processes, pid_t root)
{
    std::map<pid_t, long> rss;
    for (const ProcessEntry &entry : processes)
        rss[entry.pid] = entry.rssKiB;
    long total = 0;
    for (const pid_t pid : treeOf(processes, root))
        total += rss[pid];
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

namespace mirel::siteserver {

long pssInSmaps(std::string_view smaps)
{
    long total = 0;
    size_t at = 0;
    while (at < smaps.size()) {
        const size_t end = std::min(smaps.find('\n', at), smaps.size());
        const std::string_view line = smaps.substr(at, end - at);
        if (line.rfind("Pss:", 0) == 0)
            total += std::strtol(std::string(line.substr(4)).c_str(), nullptr, 10);
        at = end + 1;
    }
    return total;
}

long treePssKiB(pid_t root)
{
    long total = 0;
    for (const pid_t pid : treeOf(readProcesses(), root)) {
        const std::filesystem::path dir = "/proc/" + std::to_string(pid);
        std::ifstream in(dir / "smaps_rollup");
        if (!in)
            in = std::ifstream(dir / "smaps");
        std::ostringstream text;
        text << in.rdbuf();
        total += pssInSmaps(text.str());
    }
    return total;
}

} // namespace mirel::siteserver
