#pragma once

#include "replica/Translator.h"

#include <optional>
#include <string_view>

namespace mirel::replica {

struct LanguagePair
{
    Language from;
    Language to;
};

// The language codes each engine's form takes. Nothing for a code the real service
// did not know.
std::optional<Language> googleLanguage(std::string_view code);      // "zh-CN", "en", "fr", …
std::optional<LanguagePair> relayLanguages(std::string_view lang);  // "encn", "cnen"
std::optional<LanguagePair> youdaoLanguages(std::string_view type); // "ZH_CN2EN"
std::optional<LanguagePair> yahooLanguages(std::string_view lp);    // "zh_en"

} // namespace mirel::replica
