#include "PageCuts.h"
#include "SiteServerFixture.h"

#include "sites/core/GbkCodec.h"
#include "sites/dictionary/DictionaryData.h"

using mirel::siteserver::utf8ToGbk;

namespace {

std::string searchTarget(std::string_view rawWord, char digit = '7')
{
    return "/search?tab=chn&keyfrom=dict.top&q=" + std::string(rawWord) +
           "&btnG=%E6%90%9C+%E7%B4%A2&r=" + digit;
}

std::string withoutBold(std::string_view text)
{
    std::string out(text);
    for (const std::string_view mark : {"<b>", "</b>"})
        for (size_t at; (at = out.find(mark)) != std::string::npos;)
            out.erase(at, mark.size());
    return out;
}

} // namespace

using DictionaryRoute = SiteServerFixture;

TEST_F(DictionaryRoute, ForeignWordScrapesToAFullRecordEnglishFirst)
{
    const auto res = get(searchTarget("apple"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    const ScrapedWord w = scrapeDictionaryPage("apple", res->body);
    EXPECT_FALSE(w.notFound);
    EXPECT_EQ(w.word, "apple");
    EXPECT_EQ(w.phonetic, "[ˈæpl]");
    EXPECT_EQ(w.translations, "n. 苹果；苹果树<BR>n. 苹果公司");
    ASSERT_EQ(w.examples.size(), 4u);
    EXPECT_EQ(w.examples[0].first, "I eat an apple every day.");
    EXPECT_EQ(w.examples[0].second, "我每天吃一个苹果。");
}

TEST_F(DictionaryRoute, ChineseWordGroupsTranslationsAndPutsChineseFirst)
{
    const auto res = get(searchTarget("苹果")); // raw UTF-8, as the program sends it
    ASSERT_TRUE(res);
    const ScrapedWord w = scrapeDictionaryPage("苹果", res->body);
    EXPECT_EQ(w.word, "苹果");
    EXPECT_EQ(w.phonetic, "[píng guǒ]");
    EXPECT_EQ(w.translations, "apple<BR>apple tree pomaceous fruit");
    ASSERT_EQ(w.examples.size(), 4u);
    EXPECT_EQ(w.examples[0].first, "我每天吃一个苹果。");
    EXPECT_EQ(w.examples[0].second, "I eat an apple every day.");
}

TEST_F(DictionaryRoute, EveryEntryScrapesWithinTheRecordLimits)
{
    const auto dictionary = mirel::siteserver::Dictionary::read(MIREL_SITES_SOURCE_DATA);
    ASSERT_GE(dictionary.entries().size(), 30u);
    for (const auto &entry : dictionary.entries()) {
        const std::string word(entry.headword);
        const auto res = get(searchTarget(word));
        ASSERT_TRUE(res);
        const ScrapedWord w = scrapeDictionaryPage(word, res->body);
        SCOPED_TRACE(word);
        EXPECT_EQ(w.word, word);
        EXPECT_FALSE(w.phonetic.empty());
        EXPECT_LE(w.phonetic.size(), 100u);
        EXPECT_FALSE(w.translations.empty());
        EXPECT_LE(utf8ToGbk(w.translations).size(), 200u);
        EXPECT_GE(w.examples.size(), 3u);
        // Every sentence arrives whole: nothing lost to GBK, only the <b> marks removed.
        for (size_t i = 0; i < w.examples.size() && i < entry.examples.size(); ++i) {
            EXPECT_EQ(w.examples[i].first, withoutBold(entry.examples[i].first));
            EXPECT_EQ(w.examples[i].second, withoutBold(entry.examples[i].second));
        }
    }
}

TEST_F(DictionaryRoute, UnknownWordGetsTheNotFoundSentence)
{
    const auto res = get(searchTarget("Zorblax"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(scrapeDictionaryPage("zorblax", res->body).notFound);
    EXPECT_EQ(res->body.find("ssResultDiv"), std::string::npos);
}

TEST_F(DictionaryRoute, LookupIgnoresLetterCase)
{
    const auto res = get(searchTarget("APPLE"));
    ASSERT_TRUE(res);
    EXPECT_EQ(scrapeDictionaryPage("APPLE", res->body).word, "apple");
}

TEST_F(DictionaryRoute, SetsItsOwnCookieAndHonoursIt)
{
    const auto first = get(searchTarget("book"));
    ASSERT_TRUE(first);
    const std::string setCookie = first->get_header_value("Set-Cookie");
    ASSERT_EQ(setCookie.rfind("OUTFOX_SEARCH_USER_ID=", 0), 0u);
    const auto second =
        get(searchTarget("water"),
            {{"Cookie", "MIREL_SESSION=x; " + setCookie.substr(0, setCookie.find(';'))}});
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->has_header("Set-Cookie"));
    EXPECT_NE(second->body.find(", request 2 -->"), std::string::npos);
}

TEST_F(DictionaryRoute, MalformedSearchesAreRefused)
{
    const std::string cases[] = {
        "/search?tab=chn&keyfrom=dict.top&q=apple&btnG=%E6%90%9C+%E7%B4%A2", // no r
        searchTarget("apple").substr(0, searchTarget("apple").size() - 1) + "12",
        "/search?tab=chn&keyfrom=dict.top&q=apple&btnG=search&r=1",
        "/search?tab=eng&keyfrom=dict.top&q=apple&btnG=%E6%90%9C+%E7%B4%A2&r=1",
        searchTarget("%C6%BB%B9%FB"), // GBK bytes of a word
        searchTarget(""),
    };
    for (const std::string &target : cases) {
        const auto res = get(target);
        ASSERT_TRUE(res) << target;
        EXPECT_EQ(res->status, 400) << target;
    }
}
