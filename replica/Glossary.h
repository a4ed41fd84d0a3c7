#pragma once

#include <span>
#include <string_view>

namespace mirel::replica {

// One row of the built-in glossary: the same word or phrase in Chinese, English and
// Japanese (UTF-8). An empty column means the word is left out in that language
// (articles in Chinese, for one).
struct GlossaryEntry
{
    std::string_view zh;
    std::string_view en;
    std::string_view ja;
};

std::span<const GlossaryEntry> glossary();

// Simplified to traditional Chinese for the commonest characters, as pairs of UTF-8
// characters.
struct CharPair
{
    std::string_view simplified;
    std::string_view traditional;
};

std::span<const CharPair> traditionalChars();

} // namespace mirel::replica
