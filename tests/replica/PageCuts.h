#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text after the first start marker up to the next end marker; empty when either is
// missing.
std::string cutBetween(std::string_view text, std::string_view start, std::string_view end);

// What the program's dictionary scraper takes from a search page, worked through its
// steps on the page's bytes (UTF-8 here; the GBK round trip is applied, so a character
// GBK cannot hold reads as "?").
struct ScrapedWord
{
    bool notFound = false;
    std::string word;
    std::string phonetic;
    std::string translations;                                  // entries joined with "<BR>"
    std::vector<std::pair<std::string, std::string>> examples; // first, second per block
};

ScrapedWord scrapeDictionaryPage(std::string_view word, std::string_view body);
