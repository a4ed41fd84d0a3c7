#include "util/TextHelpers.h"
#include "util/TextCodec.h"

#include <gtest/gtest.h>

using namespace mirel;

struct CutCase
{
    const char *name;
    const char16_t *text, *start, *end, *expected;
};

class CutTest : public testing::TestWithParam<CutCase>
{
};

TEST_P(CutTest, TextBetweenMarkers)
{
    const CutCase &c = GetParam();
    EXPECT_EQ(Cut(QStringView(c.text), QStringView(c.start), QStringView(c.end)),
              QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CutTest,
    testing::Values(CutCase{"Simple", u"a[x]c", u"[", u"]", u"x"},
                    CutCase{"MissingStartGivesEmpty", u"xyz]", u"[[[", u"]", u""},
                    CutCase{"EndOnlyBeforeStart", u"]a[b", u"[", u"]", u""},
                    CutCase{"EmptyEnd", u"a[x]c", u"[", u"", u""},
                    CutCase{"EmptyStartCutsFromBeginning", u"ab]c", u"", u"]", u"ab"},
                    CutCase{"Adjacent", u"[]", u"[", u"]", u""},
                    CutCase{"FirstStartOnly", u"[a][b]", u"[", u"]", u"a"},
                    CutCase{"EmptyText", u"", u"", u"]", u""},
                    CutCase{"StartAtEnd", u"ab[", u"[", u"]", u""},
                    CutCase{"ChineseMarkers", u"<h1>结果</h1>你好<p>", u"</h1>", u"<p>", u"你好"},
                    CutCase{"CaseSensitive", u"<B>x</b>", u"<b>", u"</b>", u""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CutBytes, SameRulesOverBytes)
{
    EXPECT_EQ(CutBytes("<w>apple</w>", "<w>", "</w>"), "apple");
    EXPECT_EQ(CutBytes("apple</w>", "<w>", "</w>"), "");
    EXPECT_EQ(CutBytes("\xE4\xB8\xAD]", "", "]"), "\xE4\xB8\xAD");
}

TEST(IsGBK, FirstCharacterWidth)
{
    EXPECT_FALSE(IsGBK(u""));
    EXPECT_TRUE(IsGBK(u"中文"));
    EXPECT_TRUE(IsGBK(u"Ａb")); // full-width A
    EXPECT_TRUE(IsGBK(u"é"));   // GBK has é as a double-byte character
    EXPECT_FALSE(IsGBK(u"apple"));
    EXPECT_FALSE(IsGBK(u"한국"));       // Hangul is not in GBK: "?"
    EXPECT_FALSE(IsGBK(u"\U0001F600")); // a lone high surrogate on its own
}

TEST(HTMLToText, RemovesCommasAndDoubleQuotesOnly)
{
    EXPECT_EQ(HTMLToText("He said, \"it's fine\"."), "He said it's fine.");
    EXPECT_EQ(HTMLToText(""), "");
}

TEST(ReplaceWord, RemovesBlanksAndPunctuation)
{
    EXPECT_EQ(ReplaceWord("ice cream."), "icecream");
    EXPECT_EQ(ReplaceWord(toGbk(u"“苹果”。")), toGbk(u"苹果"));
    EXPECT_EQ(ReplaceWord(toGbk(u"a，b?c'd")), "abcd");
}

TEST(ReplaceWord, NeverMatchesTrailByte)
{
    // "啊！" is B0 A1 A3 A1: a byte search would find "。" (A1 A3) across the two characters.
    const QByteArray text = toGbk(u"啊");                       // B0 A1
    const QByteArray tricky = text + QByteArray("\xA3\xA1", 2); // B0 A1 A3 A1 = 啊 + "！"
    EXPECT_EQ(ReplaceWord(tricky), tricky);
    EXPECT_EQ(fromGbk(ReplaceWord(tricky)), u"啊！");
}

TEST(HTMLToText, NeverMatchesTrailByte)
{
    EXPECT_EQ(fromGbk(HTMLToText(toGbk(u"中,文\""))), u"中文");
}
