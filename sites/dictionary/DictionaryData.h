#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// One example pair in page order: for a foreign headword the English sentence comes
// first, for a Chinese headword the Chinese one. "<b>" marks the headword.
struct ExamplePair
{
    std::string first;
    std::string second;
};

// A dictionary entry (UTF-8). senses: "|" separates the rows of the translation list;
// for a Chinese headword ";" separates the English words within one row.
struct DictionaryEntry
{
    std::string headword;
    std::string phonetic;
    std::string senses;
    std::vector<ExamplePair> examples;
};

// The dictionary's entries, read from dictionary.txt of the data folder.
class Dictionary
{
public:
    Dictionary() = default;
    // Throws DataFileError.
    static Dictionary read(const std::filesystem::path &folder);

    const std::vector<DictionaryEntry> &entries() const { return m_entries; }
    // The entry for a word (ASCII letters compared without case), or null.
    const DictionaryEntry *find(std::string_view word) const;

private:
    std::vector<DictionaryEntry> m_entries;
};

// True when the headword begins with a Chinese character (the page layout for Chinese
// words).
bool isChineseHeadword(std::string_view word);

} // namespace mirel::siteserver
