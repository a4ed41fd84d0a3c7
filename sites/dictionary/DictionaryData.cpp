#include "sites/dictionary/DictionaryData.h"

#include "sites/core/DataFile.h"

#include <algorithm>
#include <cctype>

namespace mirel::siteserver {
namespace {

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return c < 0x80 ? char(std::tolower(c)) : char(c); });
    return out;
}

constexpr std::string_view kExampleSeparator = " || ";

} // namespace

Dictionary Dictionary::read(const std::filesystem::path &folder)
{
    const std::filesystem::path file = folder / "dictionary.txt";
    Dictionary dictionary;
    std::vector<DictionaryEntry> &entries = dictionary.m_entries;
    for (const DataLine &line : readDataLines(file)) {
        const std::string &text = line.text;
        if (text.front() == '[') {
            if (text.size() < 3 || text.back() != ']')
                throwDataError(file, line.number, "a headword reads [word]");
            entries.push_back({text.substr(1, text.size() - 2), {}, {}, {}});
            continue;
        }
        if (entries.empty())
            throwDataError(file, line.number, "a field before the first [headword]");
        const size_t equals = text.find(" = ");
        if (equals == std::string::npos)
            throwDataError(file, line.number, "a field reads name = value");
        const std::string name = text.substr(0, equals);
        const std::string value = text.substr(equals + 3);
        DictionaryEntry &entry = entries.back();
        if (name == "phonetic") {
            entry.phonetic = value;
        } else if (name == "senses") {
            entry.senses = value;
        } else if (name == "example") {
            const size_t at = value.find(kExampleSeparator);
            if (at == std::string::npos)
                throwDataError(file, line.number, "an example reads first || second");
            entry.examples.push_back(
                {value.substr(0, at), value.substr(at + kExampleSeparator.size())});
        } else {
            throwDataError(file, line.number, "unknown field " + name);
        }
    }
    return dictionary;
}

const DictionaryEntry *Dictionary::find(std::string_view word) const
{
    const std::string key = lowerAscii(word);
    for (const DictionaryEntry &e : m_entries)
        if (lowerAscii(e.headword) == key)
            return &e;
    return nullptr;
}

bool isChineseHeadword(std::string_view word)
{
    return !word.empty() && static_cast<unsigned char>(word.front()) >= 0x80;
}

} // namespace mirel::siteserver
