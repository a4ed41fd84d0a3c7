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
// Root and every process below it (root first); empty when root is not listed.
std::vector<pid_t> treeOf(const std::vector<ProcessEntry> &processes, pid_t root);
// The resident memory of root and every process below it: pages shared between them
// (the same programs and libraries) counted once for each.
long treeRssKiB(const std::vector<ProcessEntry> &processes, pid_t root);
// Every process of the machine as /proc shows it now.
std::vector<ProcessEntry> readProcesses();

// The proportional set size in /proc/<pid>/smaps_rollup or /proc/<pid>/smaps text: the
// sum of its "Pss:" lines, in KiB (a page shared by n processes counts 1/n in each).
long pssInSmaps(std::string_view smaps);
// The memory root and every process below it use together, each page counted once:
// their proportional set sizes summed (smaps_rollup, else smaps where it is missing).
long treePssKiB(pid_t root);

} // namespace mirel::siteserver
