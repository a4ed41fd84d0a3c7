#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// DeepL's code for a source language: the base code for every variant ("ZH" for both
// Chinese scripts, "EN", "PT"). Nothing for a code the server does not know.
std::optional<std::string> deeplSourceCode(std::string_view language);
// The codes DeepL may list for a target language, the most fitting first: "ZH-HANS"
// then "ZH" for simplified Chinese, "ZH-HANT" for traditional, "EN-US" then "EN-GB" then
// "EN", "PT-BR" then "PT-PT" then "PT". Empty for a code the server does not know.
std::vector<std::string> deeplTargetCodes(std::string_view language);
// The language part of a DeepL code: "ZH" for "ZH-HANT", "EN" for "EN-US".
std::string_view deeplBase(std::string_view code);

} // namespace mirel::siteserver
