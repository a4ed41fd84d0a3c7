#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace mirel::siteserver {

// The pairs last translated ("eng|spa"), the latest first, kept in a file across runs
// (one a line). No file: kept in memory only.
class RecentPairs
{
public:
    explicit RecentPairs(std::filesystem::path file = {}, size_t keep = 8);

    // A pair was used now; the file is written when the order changed.
    void note(const std::string &pair);
    std::vector<std::string> list() const;

private:
    std::filesystem::path m_file;
    size_t m_keep;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_pairs;
};

} // namespace mirel::siteserver
