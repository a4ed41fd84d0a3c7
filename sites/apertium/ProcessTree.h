#pragma once

#include <string_view>
#include <sys/types.h>
#include <vector>

namespace mirel::siteserver {

struct ProcessEntry
{
    pid_t pid = 0;
    pid_t parent = 0;
    long rssKiB = 0;
};

// The parent's id in a /proc/<pid>/stat line ("12 (apertium-tagger) S 7 …"), -1 when
// the line is not one.
pid_t parentInStat(std::string_view stat);
// The resident memory of root and every process below it.
long treeRssKiB(const std::vector<ProcessEntry> &processes, pid_t root);
// Every process of the machine as /proc shows it now.
std::vector<ProcessEntry> readProcesses();

} // namespace mirel::siteserver
