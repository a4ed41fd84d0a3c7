#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mirel::siteserver {

// One row of the glossary: the same word or phrase in (simplified) Chinese, English and
// Japanese (UTF-8). An empty column means the word is left out in that language (articles in
// Chinese, for one).
struct GlossaryEntry
{
    std::string zh;
    std::string en;
    std::string ja;
};

struct GlossaryRows
{
    std::vector<GlossaryEntry> entries;
};

// Reads glossary.tsv of the data folder. Throws DataFileError.
GlossaryRows readGlossaryRows(const std::filesystem::path &folder);

} // namespace mirel::siteserver
