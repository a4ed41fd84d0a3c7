#include "sites/languages/LanguageCodes.h"

namespace mirel::siteserver {
namespace {

std::optional<LanguagePair> formPair(LanguageColumn column, std::string_view text,
                                     std::string_view separator)
{
    const size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    auto from = languageOf(column, text.substr(0, at));
    auto to = languageOf(column, text.substr(at + separator.size()));
    if (!from || !to)
        return std::nullopt;
    return LanguagePair{std::move(*from), std::move(*to)};
}

} // namespace

std::optional<std::string> googleLanguage(std::string_view code)
{
    if (!findLanguage(code))
        return std::nullopt;
    return std::string(code);
}

std::optional<LanguagePair> relayLanguages(std::string_view lang)
{
    // Two codes of two letters each, one of them Chinese: "encn" or "cnen".
    if (lang.size() != 4)
        return std::nullopt;
    auto from = languageOf(&LanguageEntry::relayForm, lang.substr(0, 2));
    auto to = languageOf(&LanguageEntry::relayForm, lang.substr(2));
    if (!from || !to || *from == *to)
        return std::nullopt;
    return LanguagePair{std::move(*from), std::move(*to)};
}

std::optional<LanguagePair> youdaoLanguages(std::string_view type)
{
    return formPair(&LanguageEntry::youdaoForm, type, "2");
}

std::optional<LanguagePair> yahooLanguages(std::string_view lp)
{
    return formPair(&LanguageEntry::yahooForm, lp, "_");
}

std::optional<std::string_view> englishLanguageName(std::string_view language)
{
    const LanguageEntry *row = findLanguage(language);
    if (!row)
        return std::nullopt;
    return row->englishName;
}

std::vector<std::string> apertiumCodes(std::string_view language)
{
    return codesIn(&LanguageEntry::apertium, language);
}

std::vector<std::string> libreTranslateCodes(std::string_view language)
{
    return codesIn(&LanguageEntry::libreTranslate, language);
}

std::optional<std::string> deeplSourceCode(std::string_view language)
{
    return codeIn(&LanguageEntry::deeplSource, language);
}

std::vector<std::string> deeplTargetCodes(std::string_view language)
{
    return codesIn(&LanguageEntry::deeplTargets, language);
}

std::string_view deeplBase(std::string_view code)
{
    return code.substr(0, code.find('-'));
}

} // namespace mirel::siteserver
