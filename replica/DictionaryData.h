#pragma once

#include <array>
#include <span>
#include <string_view>

namespace mirel::replica {

// One example pair in page order: for a foreign headword the English sentence comes
// first, for a Chinese headword the Chinese one. "<b>" marks the headword.
struct ExamplePair
{
    std::string_view first;
    std::string_view second;
};

// A dictionary entry (UTF-8). senses: "|" separates the rows of the translation list;
// for a Chinese headword ";" separates the English words within one row.
struct DictionaryEntry
{
    std::string_view headword;
    std::string_view phonetic;
    std::string_view senses;
    std::array<ExamplePair, 5> examples; // unused ones are empty
};

std::span<const DictionaryEntry> dictionaryEntries();

// The entry for a word (ASCII letters compared without case), or null.
const DictionaryEntry *findDictionaryEntry(std::string_view word);

// True when the headword begins with a Chinese character (the page layout for Chinese
// words).
bool isChineseHeadword(std::string_view word);

} // namespace mirel::replica
