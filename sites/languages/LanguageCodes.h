#pragma once

#include "sites/languages/LanguageTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// The language codes each engine's form takes, read from the language table. Nothing for
// a code the real service did not know.
std::optional<std::string> googleLanguage(std::string_view code);   // "zh-CN", "en", "fr", …
std::optional<LanguagePair> relayLanguages(std::string_view lang);  // "encn", "cnen"
std::optional<LanguagePair> youdaoLanguages(std::string_view type); // "ZH_CN2EN"
std::optional<LanguagePair> yahooLanguages(std::string_view lp);    // "zh_en"

// A language's English name: "Simplified Chinese", "Traditional Chinese (Taiwan)".
// Nothing for a code the server does not know.
std::optional<std::string_view> englishLanguageName(std::string_view language);

// The codes a service may list for a language, the most fitting first.
std::vector<std::string> apertiumCodes(std::string_view language);
std::vector<std::string> libreTranslateCodes(std::string_view language);
// DeepL's code for a source language: the base code for every variant ("ZH" for both
// Chinese scripts). Nothing for a code the server does not know.
std::optional<std::string> deeplSourceCode(std::string_view language);
// The codes DeepL may list for a target language, the most fitting first ("ZH-HANS" then
// "ZH"; "EN-US", "EN-GB", "EN").
std::vector<std::string> deeplTargetCodes(std::string_view language);
// The language part of a DeepL code: "ZH" for "ZH-HANT", "EN" for "EN-US".
std::string_view deeplBase(std::string_view code);

} // namespace mirel::siteserver
