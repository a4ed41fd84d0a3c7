#include "sites/languages/LanguageNames.h"

#include <array>
#include <utility>

namespace mirel::siteserver {
namespace {

// Every language of the Google form's list.
constexpr std::array<std::pair<std::string_view, std::string_view>, 52> kNames = {{
    {"zh-CN", "Simplified Chinese"},
    {"en", "English"},
    {"ja", "Japanese"},
    {"zh-TW", "Traditional Chinese (Taiwan)"},
    {"af", "Afrikaans"},
    {"ar", "Arabic"},
    {"be", "Belarusian"},
    {"bg", "Bulgarian"},
    {"ca", "Catalan"},
    {"cs", "Czech"},
    {"cy", "Welsh"},
    {"da", "Danish"},
    {"de", "German"},
    {"el", "Greek"},
    {"es", "Spanish"},
    {"et", "Estonian"},
    {"fa", "Persian"},
    {"fi", "Finnish"},
    {"fr", "French"},
    {"ga", "Irish"},
    {"gl", "Galician"},
    {"hi", "Hindi"},
    {"hr", "Croatian"},
    {"hu", "Hungarian"},
    {"id", "Indonesian"},
    {"is", "Icelandic"},
    {"it", "Italian"},
    {"iw", "Hebrew"},
    {"ko", "Korean"},
    {"lt", "Lithuanian"},
    {"lv", "Latvian"},
    {"mk", "Macedonian"},
    {"ms", "Malay"},
    {"mt", "Maltese"},
    {"nl", "Dutch"},
    {"no", "Norwegian"},
    {"pl", "Polish"},
    {"pt", "Portuguese"},
    {"ro", "Romanian"},
    {"ru", "Russian"},
    {"sk", "Slovak"},
    {"sl", "Slovenian"},
    {"sq", "Albanian"},
    {"sr", "Serbian"},
    {"sv", "Swedish"},
    {"sw", "Swahili"},
    {"th", "Thai"},
    {"tl", "Filipino"},
    {"tr", "Turkish"},
    {"uk", "Ukrainian"},
    {"vi", "Vietnamese"},
    {"yi", "Yiddish"},
}};

} // namespace

std::optional<std::string_view> englishLanguageName(std::string_view language)
{
    for (const auto &[code, name] : kNames)
        if (code == language)
            return name;
    return std::nullopt;
}

} // namespace mirel::siteserver
