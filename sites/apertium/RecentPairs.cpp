#include "sites/apertium/RecentPairs.h"

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace mirel::siteserver {

RecentPairs::RecentPairs(std::filesystem::path file, size_t keep)
    : m_file(std::move(file)), m_keep(keep)
{
    if (m_file.empty())
        return;
    std::ifstream in(m_file);
    for (std::string line; std::getline(in, line) && m_pairs.size() < m_keep;)
        if (line.find('|') != std::string::npos && line.size() < 64 &&
            std::find(m_pairs.begin(), m_pairs.end(), line) == m_pairs.end())
            m_pairs.push_back(line);
}

void RecentPairs::note(const std::string &pair)
{
    const std::lock_guard lock(m_mutex);
    if (!m_pairs.empty() && m_pairs.front() == pair)
        return;
    m_pairs.erase(std::remove(m_pairs.begin(), m_pairs.end(), pair), m_pairs.end());
    m_pairs.insert(m_pairs.begin(), pair);
    if (m_pairs.size() > m_keep)
        m_pairs.resize(m_keep);
    if (m_file.empty())
        return;
    // Written aside and moved over, so that a reader never sees half a file.
    std::filesystem::path part = m_file;
    part += ".part" + std::to_string(::getpid());
    {
        std::ofstream out(part, std::ios::trunc);
        for (const std::string &line : m_pairs)
            out << line << '\n';
        if (!out)
            return;
    }
    std::error_code error;
    std::filesystem::rename(part, m_file, error);
}

std::vector<std::string> RecentPairs::list() const
{
    const std::lock_guard lock(m_mutex);
    return m_pairs;
}

} // namespace mirel::siteserver
