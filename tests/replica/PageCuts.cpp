#include "PageCuts.h"

#include "replica/GbkCodec.h"

#include <algorithm>
#include <regex>

std::string cutBetween(std::string_view text, std::string_view start, std::string_view end)
{
    const size_t s = text.find(start);
    if (s == std::string_view::npos)
        return {};
    const size_t from = s + start.size();
    const size_t e = text.find(end, from);
    if (e == std::string_view::npos)
        return {};
    return std::string(text.substr(from, e - from));
}

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        out.push_back(line);
    return out;
}

std::string upperAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
    return text;
}

void removeAll(std::string &text, std::string_view what)
{
    for (size_t at; (at = text.find(what)) != std::string::npos;)
        text.erase(at, what.size());
}

} // namespace

ScrapedWord scrapeDictionaryPage(std::string_view word, std::string_view body)
{
    using mirel::replica::gbkToUtf8;
    using mirel::replica::utf8ToGbk;
    ScrapedWord out;
    out.phonetic = cutBetween(body, "<span class=\"collapsed-def\">", " </span>");
    const std::string t = gbkToUtf8(utf8ToGbk(body)).value_or(std::string());
    if (upperAscii(t).find(upperAscii("抱歉，没有找到与您查询的“<B>" + std::string(word) +
                                      "</B>”相符的字词。")) != std::string::npos) {
        out.notFound = true;
        return out;
    }
    out.word = cutBetween(t, "<font class=dict18black>", "</font>&nbsp;\n");
    const std::string sep = "&nbsp;&nbsp;</td><td class=\"attributem1web\">";
    const bool chinese = !word.empty() && static_cast<unsigned char>(word.front()) >= 0x80;
    auto append = [](std::string &list, const std::string &piece, std::string_view joint) {
        list += list.empty() ? piece : std::string(joint) + piece;
    };
    if (chinese) {
        std::string group;
        for (const std::string &line :
             lines(cutBetween(t, "valign=top class=\"attributem\">", "<script>") + sep)) {
            if (line.find(sep) != std::string::npos) {
                if (!group.empty())
                    append(out.translations, group, "<BR>");
                group.clear();
            } else if (line.find("\"blue12other\">") != std::string::npos) {
                append(group, cutBetween(line, "E2Ctranslation\" class=\"blue12other\">", "</a>"),
                       " ");
            }
        }
    } else {
        for (const std::string &line : lines(cutBetween(t, "attributem", "graynolinktext") + sep))
            if (line.find(sep) != std::string::npos) {
                const std::string piece =
                    cutBetween(line, "<td class=\"attributem1web\">", "</td></tr>");
                out.translations += out.translations.empty() ? piece : "<BR>" + piece;
            }
    }
    const std::string examples = cutBetween(t, " ALT=\"例句与用法\">", "更多例句 ?</a></td>");
    const std::regex block("<div id=\"ssResultDiv[\\s\\S]*?<div class=space7>");
    for (auto it = std::sregex_iterator(examples.begin(), examples.end(), block);
         it != std::sregex_iterator(); ++it) {
        const std::string m = it->str();
        std::string first = cutBetween(m, "<span>", "</span>");
        std::string second = cutBetween(m, "<br>\n      <span>", "</span><br>");
        for (std::string *s : {&first, &second}) {
            removeAll(*s, "<b>");
            removeAll(*s, "</b>");
        }
        out.examples.emplace_back(first, second);
    }
    return out;
}
