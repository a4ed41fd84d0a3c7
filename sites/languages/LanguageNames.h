#pragma once

#include <optional>
#include <string_view>

namespace mirel::siteserver {

// A language's English name, as a person (or a language model asked to translate) reads
// it: "Simplified Chinese", "Traditional Chinese (Taiwan)", "Japanese". Nothing for a code
// the server does not know.
std::optional<std::string_view> englishLanguageName(std::string_view language);

} // namespace mirel::siteserver
