#include "util/LineBreaks.h"

#include <gtest/gtest.h>

using namespace mirel;

// One text through the three routines: where their rules agree and where they differ.
struct LineBreakCase
{
    const char *name;
    const char16_t *text;
    QStringList lines;
    const char16_t *endedByCrLf;
    const char16_t *crLfBreaks;
};

void PrintTo(const LineBreakCase &c, std::ostream *os)
{
    *os << c.name;
}

class LineBreakRules : public testing::TestWithParam<LineBreakCase>
{
};

TEST_P(LineBreakRules, SplitEndAndRewrite)
{
    const LineBreakCase &c = GetParam();
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(splitLines(text), c.lines);
    EXPECT_EQ(linesEndedByCrLf(text), QString::fromUtf16(c.endedByCrLf));
    EXPECT_EQ(withCrLfBreaks(text, LineBreaks::Ascii), QString::fromUtf16(c.crLfBreaks));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineBreakRules,
    testing::Values(
        LineBreakCase{"Empty", u"", {}, u"", u""},
        LineBreakCase{"NoBreak", u"ab", {"ab"}, u"ab\r\n", u"ab"},
        LineBreakCase{"EveryKindOfBreak",
                      u"a\rb\nc\r\nd",
                      {"a", "b", "c", "d"},
                      u"a\r\nb\r\nc\r\nd\r\n",
                      u"a\r\nb\r\nc\r\nd"},
        LineBreakCase{"BreakAtTheEnd", u"a\n", {"a"}, u"a\r\n", u"a\r\n"},
        LineBreakCase{"LoneBreak", u"\r", {""}, u"\r\n", u"\r\n"},
        LineBreakCase{
            "LfCrIsTwoBreaks", u"a\n\rb", {"a", "", "b"}, u"a\r\n\r\nb\r\n", u"a\r\n\r\nb"},
        LineBreakCase{"EmptyLinesBeforeTheEnd",
                      u"a\r\n\r\r\n",
                      {"a", "", ""},
                      u"a\r\n\r\n\r\n",
                      u"a\r\n\r\n\r\n"},
        LineBreakCase{"SeparatorsAreText",
                      u"a\u2028b\u2029",
                      {QStringLiteral("a\u2028b\u2029")},
                      u"a\u2028b\u2029\r\n",
                      u"a\u2028b\u2029"}),
    [](const testing::TestParamInfo<LineBreakCase> &info) { return std::string(info.param.name); });

TEST(WithCrLfBreaks, EditBoxSeparatorsBreakLinesButNeverPair)
{
    EXPECT_EQ(withCrLfBreaks(u"a\u2029b\u2028c\r\u2029d\u2029\n", LineBreaks::AsciiAndUnicode),
              u"a\r\nb\r\nc\r\n\r\nd\r\n\r\n");
}
