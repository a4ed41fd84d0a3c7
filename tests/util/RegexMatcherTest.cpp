#include "util/Errors.h"
#include "util/TRegexMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

using namespace mirel;

namespace {

const QByteArray blockPattern = "<div id=\"ssResultDiv.*?<div class=space7>";

// Three blocks, each spanning a line break, separated by line breaks.
const QByteArray threeBlocks = "head\r\n"
                               "<div id=\"ssResultDiv1\">one\n<div class=space7>\n"
                               "<div id=\"ssResultDiv2\">two\r<div class=space7>\r\n"
                               "<div id=\"ssResultDiv3\">three\r\n<div class=space7>tail";

QString errorOf(TRegexMatcher &m)
{
    try {
        m.match();
    } catch (const Exception &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(RegexMatcher, OptionBits)
{
    TRegexMatcher m;
    EXPECT_EQ(m.options(), TRegexOptions());
    EXPECT_EQ(m.compileOptions(), 0u);
    m.setOptions(preCaseLess | preMultiLine | preSingleLine | preExtended | preAnchored |
                 preUnGreedy | preNoAutoCapture);
    EXPECT_EQ(m.compileOptions(),
              std::uint32_t(PCRE2_CASELESS | PCRE2_MULTILINE | PCRE2_DOTALL | PCRE2_EXTENDED |
                            PCRE2_ANCHORED | PCRE2_UNGREEDY | PCRE2_NO_AUTO_CAPTURE));
    m.setOptions(preSingleLine);
    EXPECT_EQ(m.compileOptions(), std::uint32_t(PCRE2_DOTALL));
}

TEST(RegexMatcher, SingleLineFindsEveryBlockInOrder)
{
    TRegexMatcher m;
    m.setOptions(m.options() | preSingleLine);
    m.setSubject(threeBlocks);
    m.setRegEx(blockPattern);
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.matchedText(), "<div id=\"ssResultDiv1\">one\n<div class=space7>");
    EXPECT_EQ(m.matchedOffset(), 7);
    ASSERT_TRUE(m.matchAgain());
    EXPECT_EQ(m.matchedText(), "<div id=\"ssResultDiv2\">two\r<div class=space7>");
    ASSERT_TRUE(m.matchAgain());
    EXPECT_EQ(m.matchedText(), "<div id=\"ssResultDiv3\">three\r\n<div class=space7>");
    EXPECT_FALSE(m.matchAgain());
    EXPECT_FALSE(m.matchAgain());
}

TEST(RegexMatcher, WithoutSingleLineNoBlockSpansALineBreak)
{
    TRegexMatcher m;
    m.setSubject(threeBlocks);
    m.setRegEx(blockPattern);
    EXPECT_FALSE(m.match());
    // Every kind of line break ends the dot's reach, a lone CR included.
    m.setSubject("<div id=\"ssResultDiv\">a<div class=space7> <div id=\"ssResultDiv\">\r"
                 "<div class=space7>");
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.matchedText(), "<div id=\"ssResultDiv\">a<div class=space7>");
    EXPECT_FALSE(m.matchAgain());
}

TEST(RegexMatcher, NoMatchPreconditionAndEmptyMatches)
{
    TRegexMatcher m;
    m.setRegEx("x+");
    m.setSubject("abc");
    EXPECT_FALSE(m.match());
    try {
        (void)m.matchedText();
        FAIL() << "matchedText after a failed search";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), "REQUIRE: There must be a successful match first");
    }
    // A new subject clears an earlier match.
    m.setSubject("axxb");
    ASSERT_TRUE(m.match());
    m.setSubject("axxb");
    EXPECT_THROW((void)m.matchedText(), Exception);

    // Empty matches are never reported.
    m.setRegEx("a*");
    m.setSubject("baab");
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.matchedText(), "aa");
    EXPECT_FALSE(m.matchAgain());
}

TEST(RegexMatcher, BytesAreMatchedWithoutUtf8Mode)
{
    TRegexMatcher m;
    m.setRegEx("\xC6.");               // a GBK lead byte and any one byte
    m.setSubject("x\xC6\xBB\xB9\xFB"); // 苹果 in GBK
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.matchedText(), "\xC6\xBB");
    EXPECT_EQ(m.matchedLength(), 2);
}

TEST(RegexMatcher, SamePatternKeepsTheCompiledPattern)
{
    TRegexMatcher m;
    m.setOptions(preSingleLine);
    m.setRegEx(blockPattern);
    m.setSubject(threeBlocks);
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.compileCount(), 1);
    m.setRegEx(blockPattern);
    m.setOptions(preSingleLine);
    m.setSubject(threeBlocks);
    ASSERT_TRUE(m.match());
    ASSERT_TRUE(m.matchAgain());
    EXPECT_EQ(m.compileCount(), 1);

    m.setRegEx("ssResultDiv\\d");
    EXPECT_FALSE(m.isCompiled());
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.compileCount(), 2);
    m.setOptions(preSingleLine | preCaseLess);
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.compileCount(), 3);
}

TEST(RegexMatcher, CompileErrors)
{
    TRegexMatcher m;
    m.setSubject("abc");
    EXPECT_EQ(errorOf(m),
              "TRegexMatcher.Compile() - Please specify a regular expression in RegEx first");

    m.setRegEx("ab(c");
    EXPECT_EQ(errorOf(m),
              "TRegexMatcher.Compile() - Error in regex at offset 4: missing closing parenthesis");
    EXPECT_FALSE(m.isCompiled());

    // The object stays usable with another pattern.
    m.setRegEx("b(c)");
    ASSERT_TRUE(m.match());
    EXPECT_EQ(m.matchedText(), "bc");
}
