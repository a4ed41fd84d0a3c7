#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text after the first start marker up to the next end marker; empty when either is
// missing.
std::string cutBetween(std::string_view text, std::string_view start, std::string_view end);

// What the program's dictionary scraper takes from a search page, as UTF-8 (the record is
// GBK, so a character GBK cannot hold reads as "?"); notFound for the empty record.
struct ScrapedWord
{
    bool notFound = false;
    std::string word;
    std::string phonetic;
    std::string translations;                                  // entries joined with "<BR>"
    std::vector<std::pair<std::string, std::string>> examples; // first, second per block
};

ScrapedWord scrapeDictionaryPage(std::string_view word, std::string_view body);
