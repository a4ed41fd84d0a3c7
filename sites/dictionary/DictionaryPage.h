#pragma once

#include "sites/dictionary/DictionaryData.h"

#include <string>
#include <string_view>

namespace mirel::siteserver {

// The dictionary's search page for an entry (UTF-8): headword, phonetic, the list of
// translations in the layout for foreign or for Chinese headwords, and the examples
// section with one block per example pair.
std::string dictionaryPage(const DictionaryEntry &entry, std::string_view note);

// The search page for a word the dictionary does not know (UTF-8).
std::string notFoundPage(std::string_view word, std::string_view note);

} // namespace mirel::siteserver
