#include "sites/languages/DeepLCodes.h"

#include "sites/languages/LanguageCodes.h"

#include <array>

namespace mirel::siteserver {
namespace {

struct Variants
{
    std::string_view language;
    std::string_view source;
    std::array<std::string_view, 3> targets;
};

// Where DeepL's code is not the server's code in capitals.
constexpr Variants kVariants[] = {
    {"zh-CN", "ZH", {"ZH-HANS", "ZH", ""}}, {"zh-TW", "ZH", {"ZH-HANT", "", ""}},
    {"en", "EN", {"EN-US", "EN-GB", "EN"}}, {"pt", "PT", {"PT-BR", "PT-PT", "PT"}},
    {"iw", "HE", {"HE", "", ""}},           {"no", "NB", {"NB", "", ""}},
};

const Variants *findVariants(std::string_view language)
{
    for (const Variants &v : kVariants)
        if (v.language == language)
            return &v;
    return nullptr;
}

std::string upper(std::string_view code)
{
    std::string text(code);
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

} // namespace

std::optional<std::string> deeplSourceCode(std::string_view language)
{
    if (!googleLanguage(language))
        return std::nullopt;
    if (const Variants *v = findVariants(language))
        return std::string(v->source);
    return upper(language);
}

std::vector<std::string> deeplTargetCodes(std::string_view language)
{
    std::vector<std::string> codes;
    if (!googleLanguage(language))
        return codes;
    if (const Variants *v = findVariants(language)) {
        for (const std::string_view code : v->targets)
            if (!code.empty())
                codes.emplace_back(code);
    } else {
        codes.push_back(upper(language));
    }
    return codes;
}

std::string_view deeplBase(std::string_view code)
{
    return code.substr(0, code.find('-'));
}

} // namespace mirel::siteserver
