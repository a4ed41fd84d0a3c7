#pragma once

#include <optional>
#include <span>
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

// One language of the window with its code in each engine form and each service that
// names it. A column that lists several codes gives them blank-separated, the most
// fitting first (a service may list any of them); "" where the form or service has none.
// A new service is a new column.
struct LanguageEntry
{
    std::string_view code;           // the server's own: the Google form's
    std::string_view englishName;    // as a person (or a language model) reads it
    std::string_view youdaoForm;     // the Youdao engine's form ("ZH_CN")
    std::string_view yahooForm;      // the Yahoo engine's form ("zh")
    std::string_view relayForm;      // the Baidu relay engine's form ("cn")
    std::string_view apertium;       // APy: its own three-letter codes, a regional variant
                                     // before the plain code, the two-letter code last
    std::string_view libreTranslate; // a LibreTranslate-compatible service
    std::string_view deeplSource;    // DeepL, as a source: the base code
    std::string_view deeplTargets;   // DeepL, as a target: regional variants first
    std::string_view baidu;          // Baidu's common languages (every account)
    std::string_view youdao;         // Youdao's text translation API
    std::string_view googleCloud;    // Google Cloud Translation
    std::string_view googleWeb;      // Google's web endpoint (translate_a/single)
    std::string_view edge;           // Microsoft Edge's translator
    std::string_view volcengineWeb;  // Volcengine's browser-extension endpoint
    std::string_view tencent;        // Tencent Cloud Machine Translation
    std::string_view azure;          // Azure AI Translator
    std::string_view volcengine;     // Volcengine machine translation
    std::string_view niutrans;       // Niutrans
    std::string_view alibaba;        // Alibaba Cloud machine translation (general)
};

using LanguageColumn = std::string_view LanguageEntry::*;

// Every language of the window, in the Google form's order.
std::span<const LanguageEntry> languageEntries();
// The row of a server code; null for a code the server does not know.
const LanguageEntry *findLanguage(std::string_view code);
// A language's codes in a column, the most fitting first; empty when it has none.
std::vector<std::string> codesIn(LanguageColumn column, std::string_view language);
// A language's first code in a column; nothing when it has none.
std::optional<std::string> codeIn(LanguageColumn column, std::string_view language);
// The server code of a form's (or service's) first code; nothing for an unknown one.
std::optional<std::string> languageOf(LanguageColumn column, std::string_view code);

} // namespace mirel::siteserver
