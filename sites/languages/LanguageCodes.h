#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// A language as the server names it inside: the Google form's code ("zh-CN", "zh-TW",
// "en", "iw", …), whichever engine's form it came from.
struct LanguagePair
{
    std::string from;
    std::string to;
};

// The language codes each engine's form takes. Nothing for a code the real service
// did not know.
std::optional<std::string> googleLanguage(std::string_view code);   // "zh-CN", "en", "fr", …
std::optional<LanguagePair> relayLanguages(std::string_view lang);  // "encn", "cnen"
std::optional<LanguagePair> youdaoLanguages(std::string_view type); // "ZH_CN2EN"
std::optional<LanguagePair> yahooLanguages(std::string_view lp);    // "zh_en"

// The codes Apertium may list for a language, the most fitting first (its own
// three-letter codes, a regional variant before the plain code, the two-letter code
// last).
std::vector<std::string> apertiumCodes(std::string_view language);
// The codes a LibreTranslate-compatible service may list for a language, the most
// fitting first.
std::vector<std::string> libreTranslateCodes(std::string_view language);

} // namespace mirel::siteserver
