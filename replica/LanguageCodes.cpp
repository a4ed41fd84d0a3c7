#include "replica/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <span>

namespace mirel::replica {
namespace {

// Every code of the Google form's language list.
constexpr std::array<std::string_view, 52> kGoogleCodes = {
    "zh-CN", "en", "ja", "zh-TW", "af", "ar", "be", "bg", "ca", "cs", "cy", "da", "de",
    "el",    "es", "et", "fa",    "fi", "fr", "ga", "gl", "hi", "hr", "hu", "id", "is",
    "it",    "iw", "ko", "lt",    "lv", "mk", "ms", "mt", "nl", "no", "pl", "pt", "ro",
    "ru",    "sk", "sl", "sq",    "sr", "sv", "sw", "th", "tl", "tr", "uk", "vi", "yi"};

struct Code
{
    std::string_view code;
    Language language;
};

std::optional<Language> find(std::span<const Code> codes, std::string_view code)
{
    for (const Code &c : codes)
        if (c.code == code)
            return c.language;
    return std::nullopt;
}

std::optional<LanguagePair> splitPair(std::span<const Code> codes, std::string_view text,
                                      std::string_view separator)
{
    const size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto from = find(codes, text.substr(0, at));
    const auto to = find(codes, text.substr(at + separator.size()));
    if (!from || !to)
        return std::nullopt;
    return LanguagePair{*from, *to};
}

} // namespace

std::optional<Language> googleLanguage(std::string_view code)
{
    if (std::find(kGoogleCodes.begin(), kGoogleCodes.end(), code) == kGoogleCodes.end())
        return std::nullopt;
    constexpr Code known[] = {{"zh-CN", Language::Chinese},
                              {"zh-TW", Language::TraditionalChinese},
                              {"en", Language::English},
                              {"ja", Language::Japanese}};
    return find(known, code).value_or(Language::Unsupported);
}

std::optional<LanguagePair> relayLanguages(std::string_view lang)
{
    if (lang == "encn")
        return LanguagePair{Language::English, Language::Chinese};
    if (lang == "cnen")
        return LanguagePair{Language::Chinese, Language::English};
    return std::nullopt;
}

std::optional<LanguagePair> youdaoLanguages(std::string_view type)
{
    constexpr Code codes[] = {
        {"ZH_CN", Language::Chinese}, {"EN", Language::English}, {"JA", Language::Japanese}};
    return splitPair(codes, type, "2");
}

std::optional<LanguagePair> yahooLanguages(std::string_view lp)
{
    constexpr Code codes[] = {
        {"zh", Language::Chinese}, {"en", Language::English}, {"ja", Language::Japanese}};
    return splitPair(codes, lp, "_");
}

} // namespace mirel::replica
