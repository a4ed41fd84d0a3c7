#include "sites/dictionary/DictionaryPage.h"

#include "sites/core/DataFile.h"
#include "sites/core/HtmlText.h"

#include <vector>

namespace mirel::siteserver {
namespace {

std::string pageHead(std::string_view title, std::string_view note)
{
    std::string page;
    page += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=utf-8\">\n<title>";
    page += escapeHtml(title);
    page += " - 有道词典</title>\n<link rel=\"stylesheet\" href=\"/css/dict.css\">\n"
            "</head>\n<body>\n<!-- ";
    page += note;
    page += " -->\n<form action=\"/search\" method=\"get\"><input type=\"hidden\" name=\"tab\" "
            "value=\"chn\"><input name=\"q\" value=\"";
    page += escapeAttribute(title);
    page += "\"><input type=\"submit\" value=\"搜 索\"></form>\n";
    return page;
}

std::string headwordBlock(const DictionaryEntry &entry)
{
    std::string block = "<div id=\"results\">\n<table><tr><td><font class=dict18black>";
    block += escapeHtml(entry.headword);
    block += "</font>&nbsp;\n<span class=\"collapsed-def\">";
    block += entry.phonetic;
    block += " </span></td></tr></table>\n";
    return block;
}

// Foreign headword: one row per sense, its text in the second cell.
std::string foreignSenses(const DictionaryEntry &entry)
{
    std::string rows = "<table id=\"trans\" width=\"100%\">\n";
    int n = 0;
    for (const std::string_view sense : splitAt(entry.senses, '|')) {
        if (n > 0)
            rows += "\n";
        rows += "<tr><td class=\"attributem\">" + std::to_string(++n) +
                ".&nbsp;&nbsp;</td><td class=\"attributem1web\">";
        rows += escapeHtml(sense);
        rows += "</td></tr>";
    }
    // The table closes on the last row's line: a line of its own after the rows would
    // read as one more, empty translation.
    rows += "</table><div class=\"graynolinktext\">以上释义来自有道词典</div>\n";
    return rows;
}

// Chinese headword: one row per group, each English word a link of its own line.
std::string chineseSenses(const DictionaryEntry &entry)
{
    std::string rows = "<table id=\"trans\" width=\"100%\">\n";
    int n = 0;
    for (const std::string_view group : splitAt(entry.senses, '|')) {
        rows += "<tr><td valign=top class=\"attributem\">" + std::to_string(++n) +
                ".&nbsp;&nbsp;</td><td class=\"attributem1web\">\n";
        for (const std::string_view word : splitAt(group, ';')) {
            std::string query(word);
            for (char &c : query)
                if (c == ' ')
                    c = '+';
            rows += "<a href=\"/search?q=" + escapeAttribute(query) +
                    "&keyfrom=E2Ctranslation\" class=\"blue12other\">";
            rows += escapeHtml(word);
            rows += "</a>\n";
        }
        rows += "</td></tr>\n";
    }
    rows += "</table>\n<script>var transLoaded = true;</script>\n"
            "<div class=\"graynolinktext\">以上释义来自有道词典</div>\n";
    return rows;
}

std::string examplesSection(const DictionaryEntry &entry)
{
    std::string section = "<table width=\"100%\"><tr><td><img src=\"/img/lj.gif\" "
                          "ALT=\"例句与用法\"></td></tr>\n<tr><td>\n";
    int n = 0;
    for (const ExamplePair &pair : entry.examples) {
        if (pair.first.empty())
            continue;
        section += "<div id=\"ssResultDiv" + std::to_string(++n) +
                   "\" class=\"ssResult\"><table><tr><td><span>";
        section += pair.first; // the sentences carry their own <b> marks
        section += "</span><br>\n      <span>";
        section += pair.second;
        section += "</span><br>\n<span class=\"gray\">来源：有道例句</span></td></tr></table>"
                   "</div><div class=space7></div>\n";
    }
    section += "<a href=\"/search?tab=chn&q=";
    section += escapeAttribute(entry.headword);
    section += "&more=1\">更多例句 »</a></td></tr></table>\n";
    return section;
}

} // namespace

std::string dictionaryPage(const DictionaryEntry &entry, std::string_view note)
{
    std::string page = pageHead(entry.headword, note);
    page += headwordBlock(entry);
    page += isChineseHeadword(entry.headword) ? chineseSenses(entry) : foreignSenses(entry);
    page += examplesSection(entry);
    page += "</div>\n</body></html>\n";
    return page;
}

std::string notFoundPage(std::string_view word, std::string_view note)
{
    std::string page = pageHead(word, note);
    page += "<div id=\"results\">\n<div class=\"error\">抱歉，没有找到与您查询的“<B>";
    page += escapeHtml(word);
    page += "</B>”相符的字词。</div>\n<p>建议您检查输入是否正确，或者试试全文翻译。</p>\n"
            "</div>\n</body></html>\n";
    return page;
}

} // namespace mirel::siteserver
