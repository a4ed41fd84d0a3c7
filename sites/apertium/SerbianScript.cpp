#include "sites/apertium/SerbianScript.h"

#include <array>

namespace mirel::siteserver {
namespace {

struct Letter
{
    std::string_view cyrillic;
    std::string_view latin;
};

// Lower-case and upper-case letters; the digraphs first, so that Latin text is read
// greedily (lj before l).
constexpr std::array<Letter, 60> kLetters{{
    {"љ", "lj"}, {"њ", "nj"}, {"џ", "dž"}, {"Љ", "Lj"}, {"Њ", "Nj"}, {"Џ", "Dž"}, {"а", "a"},
    {"б", "b"},  {"в", "v"},  {"г", "g"},  {"д", "d"},  {"ђ", "đ"},  {"е", "e"},  {"ж", "ž"},
    {"з", "z"},  {"и", "i"},  {"ј", "j"},  {"к", "k"},  {"л", "l"},  {"м", "m"},  {"н", "n"},
    {"о", "o"},  {"п", "p"},  {"р", "r"},  {"с", "s"},  {"т", "t"},  {"ћ", "ć"},  {"у", "u"},
    {"ф", "f"},  {"х", "h"},  {"ц", "c"},  {"ч", "č"},  {"ш", "š"},  {"А", "A"},  {"Б", "B"},
    {"В", "V"},  {"Г", "G"},  {"Д", "D"},  {"Ђ", "Đ"},  {"Е", "E"},  {"Ж", "Ž"},  {"З", "Z"},
    {"И", "I"},  {"Ј", "J"},  {"К", "K"},  {"Л", "L"},  {"М", "M"},  {"Н", "N"},  {"О", "O"},
    {"П", "P"},  {"Р", "R"},  {"С", "S"},  {"Т", "T"},  {"Ћ", "Ć"},  {"У", "U"},  {"Ф", "F"},
    {"Х", "H"},  {"Ц", "C"},  {"Ч", "Č"},  {"Ш", "Š"},
}};

// Upper-case digraphs in words written in capitals: "LJ", "NJ", "DŽ".
constexpr std::array<Letter, 3> kCapitalDigraphs{{{"Љ", "LJ"}, {"Њ", "NJ"}, {"Џ", "DŽ"}}};

size_t sequenceLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Whether the next letter is a capital (ASCII or a Serbian letter in either alphabet).
bool capitalFollows(std::string_view rest)
{
    if (rest.empty())
        return false;
    if (rest.front() >= 'A' && rest.front() <= 'Z')
        return true;
    for (size_t i = 33; i < kLetters.size(); ++i)
        if (startsWith(rest, kLetters[i].cyrillic) || startsWith(rest, kLetters[i].latin))
            return true;
    for (size_t i = 3; i < 6; ++i)
        if (startsWith(rest, kLetters[i].cyrillic))
            return true;
    return false;
}

} // namespace

std::string serbianToLatin(std::string_view cyrillic)
{
    std::string out;
    out.reserve(cyrillic.size());
    while (!cyrillic.empty()) {
        const size_t length = sequenceLength(static_cast<unsigned char>(cyrillic.front()));
        const std::string_view character = cyrillic.substr(0, length);
        cyrillic.remove_prefix(character.size());
        std::string_view latin = character;
        for (const Letter &letter : kLetters)
            if (letter.cyrillic == character) {
                latin = letter.latin;
                break;
            }
        for (const Letter &letter : kCapitalDigraphs)
            if (letter.cyrillic == character && capitalFollows(cyrillic))
                latin = letter.latin;
        out += latin;
    }
    return out;
}

std::string serbianToCyrillic(std::string_view latin)
{
    std::string out;
    out.reserve(latin.size() * 2);
    while (!latin.empty()) {
        const Letter *found = nullptr;
        for (const Letter &letter : kCapitalDigraphs)
            if (startsWith(latin, letter.latin))
                found = &letter;
        for (const Letter &letter : kLetters)
            if (!found && startsWith(latin, letter.latin))
                found = &letter;
        if (found) {
            out += found->cyrillic;
            latin.remove_prefix(found->latin.size());
            continue;
        }
        const size_t length = sequenceLength(static_cast<unsigned char>(latin.front()));
        out += latin.substr(0, length);
        latin.remove_prefix(std::min(length, latin.size()));
    }
    return out;
}

bool hasSerbianCyrillic(std::string_view text)
{
    for (const Letter &letter : kLetters)
        if (text.find(letter.cyrillic) != std::string_view::npos)
            return true;
    return false;
}

} // namespace mirel::siteserver
