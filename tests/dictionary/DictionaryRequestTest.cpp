#include "dictionary/DictionaryRequest.h"
#include "util/TextCodec.h"

#include <gtest/gtest.h>

#include <set>

using namespace mirel;

namespace {

Sites testSites()
{
    Sites sites;
    sites.dictionary = "http://127.0.0.1:8765";
    return sites;
}

} // namespace

TEST(DictionaryAddress, QueryKeysInOrderAndBtnGAsWritten)
{
    EXPECT_EQ(dictionaryAddress("apple", 7, testSites()),
              "http://127.0.0.1:8765/search?tab=chn&keyfrom=dict.top&q=apple"
              "&btnG=%E6%90%9C+%E7%B4%A2&r=7");
    // Other characters go as their raw UTF-8 bytes.
    EXPECT_EQ(dictionaryAddress(toGbk(u"苹果"), 0, testSites()),
              "http://127.0.0.1:8765/search?tab=chn&keyfrom=dict.top&q=\xE8\x8B\xB9\xE6\x9E\x9C"
              "&btnG=%E6%90%9C+%E7%B4%A2&r=0");
}

TEST(DictionaryAddress, CrLfPairsRemovedAndSpecialsEncoded)
{
    EXPECT_EQ(dictionaryAddress("ice\r\ncream", 3, testSites()),
              "http://127.0.0.1:8765/search?tab=chn&keyfrom=dict.top&q=icecream"
              "&btnG=%E6%90%9C+%E7%B4%A2&r=3");
    // A lone CR or LF is a control byte of the word, not a pair.
    EXPECT_EQ(encodeQueryWord("a&b#c%d+e=f\rg\nh\ti\x7Fj-k_l.m/n?o"),
              "a%26b%23c%25d%2Be%3Df%0Dg%0Ah%09i%7Fj-k_l.m/n?o");
}

TEST(DictionaryAddress, DigitIsRandomAndInRange)
{
    std::set<int> seen;
    for (int i = 0; i < 400; ++i) {
        const int r = randomRDigit();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 9);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST(DictionaryHeaders, FixedValuesAndRefererFromTheSite)
{
    const RequestFields h = dictionaryHeaders(testSites());
    EXPECT_EQ(h.handleRedirects, true);
    EXPECT_EQ(h.accept, "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                        "application/x-shockwave-flash, application/vnd.ms-excel, "
                        "application/vnd.ms-powerpoint, application/msword, */*");
    EXPECT_EQ(h.referer, "http://127.0.0.1:8765/");
    EXPECT_EQ(h.userAgent,
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)");
    // The rest keep what an engine request left on the shared client.
    EXPECT_FALSE(h.acceptLanguage || h.contentType || h.connection || h.cacheControl);
}
