#include "sites/languages/LanguageTable.h"

#include <algorithm>
#include <array>

namespace mirel::siteserver {
namespace {

// code, englishName, youdaoForm, yahooForm, relayForm, apertium, libreTranslate, deeplSource,
// deeplTargets, baidu, youdao, googleCloud, googleWeb, edge, volcengineWeb, tencent, azure,
// volcengine, niutrans, alibaba
constexpr std::array<LanguageEntry, 52> kLanguages = {{
    {"zh-CN",
     "Simplified Chinese",
     "ZH_CN",
     "zh",
     "cn",
     "zho zh-CN",
     "zh zh-Hans zh-CN",
     "ZH",
     "ZH-HANS ZH",
     "zh",
     "zh-CHS",
     "zh-CN",
     "zh-CN",
     "zh-Hans",
     "zh",
     "zh",
     "zh-Hans",
     "zh",
     "zh",
     "zh"},
    {"en", "English", "EN", "en", "en", "eng en", "en", "EN", "EN-US EN-GB EN", "en", "en", "en",
     "en", "en",      "en", "en", "en", "en",     "en", "en"},
    {"ja", "Japanese", "JA", "ja", "",   "jpn ja", "ja", "JA", "JA", "jp",
     "ja", "ja",       "ja", "ja", "ja", "ja",     "ja", "ja", "ja", "ja"},
    {"zh-TW",
     "Traditional Chinese (Taiwan)",
     "",
     "",
     "",
     "zho_Hant zh-TW",
     "zt zh-Hant zh-TW",
     "ZH",
     "ZH-HANT",
     "cht",
     "zh-CHT",
     "zh-TW",
     "zh-TW",
     "zh-Hant",
     "zh-Hant",
     "zh-TW",
     "zh-Hant",
     "zh-Hant",
     "cht",
     "zh-tw"},
    {"af", "Afrikaans", "",   "",   "",   "afr af", "af", "AF", "AF", "",
     "af", "af",        "af", "af", "af", "",       "af", "",   "af", ""},
    {"ar", "Arabic", "",   "",   "",   "ara ar", "ar", "AR", "AR", "ara",
     "ar", "ar",     "ar", "ar", "ar", "ar",     "ar", "ar", "ar", "ar"},
    {"be", "Belarusian", "",   "", "", "bel be", "be", "BE", "BE", "",
     "be", "be",         "be", "", "", "",       "",   "",   "be", ""},
    {"bg", "Bulgarian", "",   "",   "",   "bul bg", "bg", "BG", "BG", "bul",
     "bg", "bg",        "bg", "bg", "bg", "",       "bg", "bg", "bg", ""},
    {"ca", "Catalan", "",   "",   "",   "cat ca", "ca", "CA", "CA", "",
     "ca", "ca",      "ca", "ca", "ca", "",       "ca", "",   "ca", ""},
    {"cs", "Czech", "",   "",   "",   "ces cs", "cs", "CS", "CS", "cs",
     "cs", "cs",    "cs", "cs", "cs", "",       "cs", "cs", "cs", ""},
    {"cy", "Welsh", "",   "",   "", "cym cy", "cy", "CY", "CY", "",
     "cy", "cy",    "cy", "cy", "", "",       "cy", "",   "cy", ""},
    {"da", "Danish", "",   "",   "",   "dan da", "da", "DA", "DA", "dan",
     "da", "da",     "da", "da", "da", "",       "da", "da", "da", ""},
    {"de", "German", "",   "",   "",   "deu de", "de", "DE", "DE", "de",
     "de", "de",     "de", "de", "de", "de",     "de", "de", "de", "de"},
    {"el", "Greek", "",   "",   "",   "ell el", "el", "EL", "EL", "el",
     "el", "el",    "el", "el", "el", "",       "el", "el", "el", ""},
    {"es", "Spanish", "",   "",   "",   "spa es", "es", "ES", "ES", "spa",
     "es", "es",      "es", "es", "es", "es",     "es", "es", "es", "es"},
    {"et", "Estonian", "",   "",   "",   "est et", "et", "ET", "ET", "est",
     "et", "et",       "et", "et", "et", "",       "et", "",   "et", ""},
    {"fa", "Persian", "",   "",   "",   "fas fa", "fa", "FA", "FA", "",
     "fa", "fa",      "fa", "fa", "fa", "",       "fa", "",   "fa", ""},
    {"fi", "Finnish", "",   "",   "",   "fin fi", "fi", "FI", "FI", "fin",
     "fi", "fi",      "fi", "fi", "fi", "",       "fi", "fi", "fi", ""},
    {"fr", "French", "",   "",   "",   "fra fr", "fr", "FR", "FR", "fra",
     "fr", "fr",     "fr", "fr", "fr", "fr",     "fr", "fr", "fr", "fr"},
    {"ga", "Irish", "",   "",   "", "gle ga", "ga", "GA", "GA", "",
     "ga", "ga",    "ga", "ga", "", "",       "ga", "",   "ga", ""},
    {"gl", "Galician", "",   "",   "",   "glg gl", "gl", "GL", "GL", "",
     "gl", "gl",       "gl", "gl", "gl", "",       "gl", "",   "gl", ""},
    {"hi", "Hindi", "",   "",   "",   "hin hi", "hi", "HI", "HI", "",
     "hi", "hi",    "hi", "hi", "hi", "hi",     "hi", "hi", "hi", "hi"},
    {"hr", "Croatian", "",   "", "",   "hbs_HR hrv hbs hr",
     "hr", "HR",       "HR", "", "hr", "hr",
     "hr", "hr",       "hr", "", "hr", "",
     "hr", ""},
    {"hu", "Hungarian", "",   "",   "",   "hun hu", "hu", "HU", "HU", "hu",
     "hu", "hu",        "hu", "hu", "hu", "",       "hu", "hu", "hu", ""},
    {"id", "Indonesian", "",   "",   "",   "ind id", "id", "ID", "ID", "",
     "id", "id",         "id", "id", "id", "id",     "id", "id", "id", "id"},
    {"is", "Icelandic", "",   "",   "",   "isl is", "is", "IS", "IS", "",
     "is", "is",        "is", "is", "is", "",       "is", "",   "is", ""},
    {"it", "Italian", "",   "",   "",   "ita it", "it", "IT", "IT", "it",
     "it", "it",      "it", "it", "it", "it",     "it", "it", "it", "it"},
    {"iw", "Hebrew", "",   "",   "",   "heb iw", "he iw", "HE", "HE", "",
     "he", "iw",     "iw", "he", "he", "",       "he",    "he", "he", ""},
    {"ko", "Korean", "",   "",   "",   "kor ko", "ko", "KO", "KO", "kor",
     "ko", "ko",     "ko", "ko", "ko", "ko",     "ko", "ko", "ko", "ko"},
    {"lt", "Lithuanian", "",   "",   "",   "lit lt", "lt", "LT", "LT", "",
     "lt", "lt",         "lt", "lt", "lt", "",       "lt", "",   "lt", ""},
    {"lv", "Latvian", "",   "",   "",   "lav lv", "lv", "LV", "LV", "",
     "lv", "lv",      "lv", "lv", "lv", "",       "lv", "",   "lv", ""},
    {"mk", "Macedonian", "",   "",   "",   "mkd mk", "mk", "MK", "MK", "",
     "mk", "mk",         "mk", "mk", "mk", "",       "mk", "",   "mk", ""},
    {"ms", "Malay", "",   "",   "",   "msa zlm ms", "ms", "MS", "MS", "",
     "ms", "ms",    "ms", "ms", "ms", "ms",         "ms", "ms", "ms", "ms"},
    {"mt", "Maltese", "",   "",   "", "mlt mt", "mt", "MT", "MT", "",
     "mt", "mt",      "mt", "mt", "", "",       "mt", "",   "mt", ""},
    {"nl", "Dutch", "",   "",   "",   "nld nl", "nl", "NL", "NL", "nl",
     "nl", "nl",    "nl", "nl", "nl", "",       "nl", "nl", "nl", "nl"},
    {"no",    "Norwegian", "",   "", "",   "nob nor nno no",
     "nb no", "NB",        "NB", "", "no", "no",
     "no",    "nb",        "nb", "", "nb", "",
     "no",    ""},
    {"pl", "Polish", "",   "",   "",   "pol pl", "pl", "PL", "PL", "pl",
     "pl", "pl",     "pl", "pl", "pl", "",       "pl", "pl", "pl", "pl"},
    {"pt", "Portuguese", "",   "",   "",   "por pt", "pt", "PT", "PT-BR PT-PT PT", "pt", "pt", "pt",
     "pt", "pt",         "pt", "pt", "pt", "pt",     "pt", "pt"},
    {"ro", "Romanian", "",   "",   "",   "ron rum ro", "ro", "RO", "RO", "rom",
     "ro", "ro",       "ro", "ro", "ro", "",           "ro", "ro", "ro", ""},
    {"ru", "Russian", "",   "",   "",   "rus ru", "ru", "RU", "RU", "ru",
     "ru", "ru",      "ru", "ru", "ru", "ru",     "ru", "ru", "ru", "ru"},
    {"sk", "Slovak", "",   "",   "",   "slk sk", "sk", "SK", "SK", "",
     "sk", "sk",     "sk", "sk", "sk", "",       "sk", "",   "sk", ""},
    {"sl", "Slovenian", "",   "",   "",   "slv sl", "sl", "SL", "SL", "slo",
     "sl", "sl",        "sl", "sl", "sl", "",       "sl", "",   "sl", ""},
    {"sq", "Albanian", "",   "",   "",   "sqi sq", "sq", "SQ", "SQ", "",
     "sq", "sq",       "sq", "sq", "sq", "",       "sq", "",   "sq", ""},
    {"sr", "Serbian", "",        "",   "", "hbs_SR srp hbs sr", "sr", "SR", "SR", "", "sr-Cyrl",
     "sr", "sr",      "sr-Cyrl", "sr", "", "sr-Cyrl",           "",   "sr", ""},
    {"sv", "Swedish", "",   "",   "",   "swe sv", "sv", "SV", "SV", "swe",
     "sv", "sv",      "sv", "sv", "sv", "",       "sv", "sv", "sv", ""},
    {"sw", "Swahili", "",   "",   "",   "swa sw", "sw", "SW", "SW", "",
     "sw", "sw",      "sw", "sw", "sw", "",       "sw", "",   "sw", ""},
    {"th", "Thai", "",   "",   "",   "tha th", "th", "TH", "TH", "th",
     "th", "th",   "th", "th", "th", "th",     "th", "th", "th", "th"},
    {"tl", "Filipino", "",   "",    "",   "tgl tl", "tl",  "TL", "TL", "",
     "tl", "tl",       "tl", "fil", "tl", "",       "fil", "",   "tl", ""},
    {"tr", "Turkish", "",   "",   "",   "tur tr", "tr", "TR", "TR", "",
     "tr", "tr",      "tr", "tr", "tr", "tr",     "tr", "tr", "tr", "tr"},
    {"uk", "Ukrainian", "",   "",   "",   "ukr uk", "uk", "UK", "UK", "",
     "uk", "uk",        "uk", "uk", "uk", "",       "uk", "uk", "uk", ""},
    {"vi", "Vietnamese", "",   "",   "",   "vie vi", "vi", "VI", "VI", "vie",
     "vi", "vi",         "vi", "vi", "vi", "vi",     "vi", "vi", "vi", "vi"},
    {"yi", "Yiddish", "",   "", "", "yid yi", "yi", "YI", "YI", "",
     "yi", "yi",      "yi", "", "", "",       "",   "",   "yi", ""},
}};

std::vector<std::string> split(std::string_view codes)
{
    std::vector<std::string> out;
    while (!codes.empty()) {
        const size_t end = std::min(codes.find(' '), codes.size());
        if (end > 0)
            out.emplace_back(codes.substr(0, end));
        codes.remove_prefix(std::min(end + 1, codes.size()));
    }
    return out;
}

} // namespace

std::span<const LanguageEntry> languageEntries()
{
    return kLanguages;
}

const LanguageEntry *findLanguage(std::string_view code)
{
    const auto it = std::find_if(kLanguages.begin(), kLanguages.end(),
                                 [code](const LanguageEntry &row) { return row.code == code; });
    return it == kLanguages.end() ? nullptr : &*it;
}

std::vector<std::string> codesIn(LanguageColumn column, std::string_view language)
{
    const LanguageEntry *row = findLanguage(language);
    return row ? split(row->*column) : std::vector<std::string>{};
}

std::optional<std::string> codeIn(LanguageColumn column, std::string_view language)
{
    std::vector<std::string> codes = codesIn(column, language);
    if (codes.empty())
        return std::nullopt;
    return std::move(codes.front());
}

std::optional<std::string> languageOf(LanguageColumn column, std::string_view code)
{
    if (code.empty())
        return std::nullopt;
    for (const LanguageEntry &row : kLanguages)
        if (const auto codes = split(row.*column); !codes.empty() && codes.front() == code)
            return std::string(row.code);
    return std::nullopt;
}

} // namespace mirel::siteserver
