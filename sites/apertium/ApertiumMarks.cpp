#include "sites/apertium/ApertiumMarks.h"

#include <cstring>
#include <set>

namespace mirel::siteserver {
namespace {

bool isMark(char c)
{
    return c == '*' || c == '#' || c == '@';
}

bool isWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 || c == '\'' || c == '-' || c == '_')
        return true;
    return u > ' ' && std::strchr("!\"#$%&()*+,./:;<=>?@[\\]^`{|}~", c) == nullptr;
}

void appendEscaped(std::string &out, std::string_view text)
{
    for (const char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
}

// A mark of Apertium in a text: where it starts, how long it is (mark and word), the
// word, and the number of the tag it stands in (-1: none).
struct Mark
{
    size_t at = 0;
    size_t length = 0;
    std::string word;
    int tag = -1;
};

// The marks in a translation; numbered tags ("<i id=\"N\">…</i>") are followed but not
// reported. A mark inside a word ("a@b") is not one; a mark the source has ("#tag") is
// left alone.
std::vector<Mark> marksIn(std::string_view text, std::string_view source)
{
    std::vector<Mark> marks;
    int tag = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 7, "<i id=\"") == 0) {
            tag = std::atoi(std::string(text.substr(i + 7, 8)).c_str());
            continue;
        }
        if (text.compare(i, 4, "</i>") == 0) {
            tag = -1;
            continue;
        }
        if (!isMark(text[i]))
            continue;
        size_t end = i + 1;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        const bool afterWord = i > 0 && isWordChar(text[i - 1]);
        // A mark stands before a word, or alone right after one ("#knjiga#.").
        if (afterWord == (end > i + 1))
            continue;
        const std::string_view token = text.substr(i, end - i);
        if (end > i + 1 && source.find(token) != std::string_view::npos)
            continue;
        marks.push_back({i, end - i, std::string(token.substr(1)), tag});
        i = end - 1;
    }
    return marks;
}

} // namespace

NumberedWords numberedWords(std::string_view source)
{
    NumberedWords out;
    size_t i = 0;
    while (i < source.size()) {
        if (!isWordChar(source[i])) {
            appendEscaped(out.html, source.substr(i, 1));
            ++i;
            continue;
        }
        size_t end = i;
        while (end < source.size() && isWordChar(source[end]))
            ++end;
        const std::string_view word = source.substr(i, end - i);
        out.html += "<i id=\"" + std::to_string(out.words.size()) + "\">";
        appendEscaped(out.html, word);
        out.html += "</i>";
        out.words.emplace_back(word);
        i = end;
    }
    return out;
}

bool hasMarks(std::string_view source, std::string_view translation)
{
    return !marksIn(translation, source).empty();
}

std::string withSourceWords(std::string_view source, std::string_view translation,
                            std::string_view numbered, const std::vector<std::string> &words)
{
    const auto isWord = [](const Mark &mark) { return !mark.word.empty(); };
    const std::vector<Mark> plain = marksIn(translation, source);
    std::vector<Mark> found;
    for (const Mark &mark : marksIn(numbered, source))
        if (isWord(mark))
            found.push_back(mark);
    size_t wordMarks = 0;
    for (const Mark &mark : plain)
        wordMarks += isWord(mark) ? 1 : 0;
    const bool aligned = wordMarks == found.size();

    std::string out;
    std::set<int> used;
    size_t from = 0;
    size_t k = 0;
    for (const Mark &mark : plain) {
        out += translation.substr(from, mark.at - from);
        from = mark.at + mark.length;
        if (!isWord(mark))
            continue;
        const int tag = aligned ? found[k++].tag : -1;
        if (tag >= 0 && size_t(tag) < words.size() && used.insert(tag).second)
            out += words[size_t(tag)];
        else
            out += mark.word;
    }
    out += translation.substr(from);
    return out;
}

} // namespace mirel::siteserver
