#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// Serbian's two alphabets, letter for letter (Љ/Њ/Џ are Lj/Nj/Dž). UTF-8 in and out;
// every other character stays as it is.
std::string serbianToLatin(std::string_view cyrillic);
std::string serbianToCyrillic(std::string_view latin);
// Whether the text has a letter of the Serbian Cyrillic alphabet.
bool hasSerbianCyrillic(std::string_view text);

} // namespace mirel::siteserver
