#include "sites/languages/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <span>

namespace mirel::siteserver {
namespace {

// Every code of the Google form's language list, with the ISO 639-3 code Apertium uses
// for it (empty where Apertium has no pair with that language in view).
struct GoogleCode
{
    std::string_view code;
    std::string_view alpha3;
};

constexpr std::array<GoogleCode, 52> kGoogleCodes = {{
    {"zh-CN", "zho"}, {"en", "eng"}, {"ja", "jpn"}, {"zh-TW", "zho_Hant"}, {"af", "afr"},
    {"ar", "ara"},    {"be", "bel"}, {"bg", "bul"}, {"ca", "cat"},         {"cs", "ces"},
    {"cy", "cym"},    {"da", "dan"}, {"de", "deu"}, {"el", "ell"},         {"es", "spa"},
    {"et", "est"},    {"fa", "fas"}, {"fi", "fin"}, {"fr", "fra"},         {"ga", "gle"},
    {"gl", "glg"},    {"hi", "hin"}, {"hr", "hrv"}, {"hu", "hun"},         {"id", "ind"},
    {"is", "isl"},    {"it", "ita"}, {"iw", "heb"}, {"ko", "kor"},         {"lt", "lit"},
    {"lv", "lav"},    {"mk", "mkd"}, {"ms", "msa"}, {"mt", "mlt"},         {"nl", "nld"},
    {"no", "nob"},    {"pl", "pol"}, {"pt", "por"}, {"ro", "ron"},         {"ru", "rus"},
    {"sk", "slk"},    {"sl", "slv"}, {"sq", "sqi"}, {"sr", "srp"},         {"sv", "swe"},
    {"sw", "swa"},    {"th", "tha"}, {"tl", "tgl"}, {"tr", "tur"},         {"uk", "ukr"},
    {"vi", "vie"},    {"yi", "yid"},
}};

const GoogleCode *findGoogle(std::string_view code)
{
    const auto it = std::find_if(kGoogleCodes.begin(), kGoogleCodes.end(),
                                 [code](const GoogleCode &c) { return c.code == code; });
    return it == kGoogleCodes.end() ? nullptr : &*it;
}

struct Code
{
    std::string_view code;
    std::string_view language;
};

std::optional<std::string> find(std::span<const Code> codes, std::string_view code)
{
    for (const Code &c : codes)
        if (c.code == code)
            return std::string(c.language);
    return std::nullopt;
}

std::optional<LanguagePair> splitPair(std::span<const Code> codes, std::string_view text,
                                      std::string_view separator)
{
    const size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    auto from = find(codes, text.substr(0, at));
    auto to = find(codes, text.substr(at + separator.size()));
    if (!from || !to)
        return std::nullopt;
    return LanguagePair{std::move(*from), std::move(*to)};
}

// Apertium's names where they are not the plain ISO 639-3 code: Serbo-Croatian for
// Serbian and Croatian (the regional variant as a target), Bokmål and Nynorsk for
// Norwegian, Malay by its standard.
struct Alternatives
{
    std::string_view language;
    std::array<std::string_view, 3> codes;
};

constexpr Alternatives kApertiumAlternatives[] = {
    {"sr", {"hbs_SR", "hbs", ""}}, {"hr", {"hbs_HR", "hbs", ""}}, {"no", {"nor", "nno", ""}},
    {"ms", {"zlm", "", ""}},       {"ro", {"rum", "", ""}},
};

constexpr Alternatives kLibreAlternatives[] = {
    {"zh-CN", {"zh", "zh-Hans", "zh-CN"}},
    {"zh-TW", {"zt", "zh-Hant", "zh-TW"}},
    {"iw", {"he", "iw", ""}},
    {"no", {"nb", "no", ""}},
};

void appendAlternatives(std::vector<std::string> &codes, std::span<const Alternatives> table,
                        std::string_view language)
{
    for (const Alternatives &a : table)
        if (a.language == language)
            for (const std::string_view code : a.codes)
                if (!code.empty())
                    codes.emplace_back(code);
}

} // namespace

std::optional<std::string> googleLanguage(std::string_view code)
{
    if (!findGoogle(code))
        return std::nullopt;
    return std::string(code);
}

std::optional<LanguagePair> relayLanguages(std::string_view lang)
{
    if (lang == "encn")
        return LanguagePair{"en", "zh-CN"};
    if (lang == "cnen")
        return LanguagePair{"zh-CN", "en"};
    return std::nullopt;
}

std::optional<LanguagePair> youdaoLanguages(std::string_view type)
{
    constexpr Code codes[] = {{"ZH_CN", "zh-CN"}, {"EN", "en"}, {"JA", "ja"}};
    return splitPair(codes, type, "2");
}

std::optional<LanguagePair> yahooLanguages(std::string_view lp)
{
    constexpr Code codes[] = {{"zh", "zh-CN"}, {"en", "en"}, {"ja", "ja"}};
    return splitPair(codes, lp, "_");
}

std::vector<std::string> apertiumCodes(std::string_view language)
{
    std::vector<std::string> codes;
    const GoogleCode *google = findGoogle(language);
    if (!google)
        return codes;
    // A regional target such as hbs_SR reads better than the plain code: it goes first.
    for (const Alternatives &a : kApertiumAlternatives)
        if (a.language == language && a.codes[0].find('_') != std::string_view::npos)
            codes.emplace_back(a.codes[0]);
    codes.emplace_back(google->alpha3);
    for (const Alternatives &a : kApertiumAlternatives)
        if (a.language == language)
            for (const std::string_view code : a.codes)
                if (!code.empty() && std::find(codes.begin(), codes.end(), code) == codes.end())
                    codes.emplace_back(code);
    codes.emplace_back(language);
    return codes;
}

std::vector<std::string> libreTranslateCodes(std::string_view language)
{
    std::vector<std::string> codes;
    if (!findGoogle(language))
        return codes;
    appendAlternatives(codes, kLibreAlternatives, language);
    if (codes.empty())
        codes.emplace_back(language);
    return codes;
}

} // namespace mirel::siteserver
