#include "dictionary/HtmlSanitizer.h"
#include "dictionary/ScriptString.h"

#include <gtest/gtest.h>

using namespace mirel;
using namespace Qt::StringLiterals;

struct SanitizeRow
{
    const char *name;
    const char16_t *input;
    const char16_t *expected;
};

class HtmlSanitizer : public testing::TestWithParam<SanitizeRow>
{
};

TEST_P(HtmlSanitizer, Fragment)
{
    EXPECT_EQ(sanitizeHtmlFragment(QStringView(GetParam().input)),
              QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HtmlSanitizer,
    testing::Values(
        SanitizeRow{"KeepsFormatting", u"苹果<BR>苹果树 <i class=\"x\">it's</i> a < b",
                    u"苹果<BR>苹果树 <i class=\"x\">it's</i> a < b"},
        SanitizeRow{"ScriptElementWithContent",
                    u"a<script>alert(1)</script>b<SCRIPT src=x></SCRIPT >c", u"abc"},
        SanitizeRow{"UnclosedScriptRunsToTheEnd", u"a<script>alert(1)", u"a"},
        SanitizeRow{"EventHandlers",
                    u"<img src=x onerror=alert(1)><b ONMOUSEOVER='x()' id=\"k\">t</b>",
                    u"<img src=x><b id=\"k\">t</b>"},
        SanitizeRow{"ScriptAddresses",
                    u"<a href=\"javascript:alert(1)\">x</a><a href=' JaVa&#x09;Script:y()'>y</a>"
                    u"<a href=\"&#106;avascript:z\">z</a><a href=\"/search?q=a\">ok</a>",
                    u"<a>x</a><a>y</a><a>z</a><a href=\"/search?q=a\">ok</a>"},
        SanitizeRow{"ObjectsAndFrames",
                    u"a<iframe src=\"file:///etc/passwd\"></iframe>b<object data=x><param></object>"
                    u"c<embed src=x>d<frameset><frame src=y></frameset>e",
                    u"abcde"},
        SanitizeRow{"CommentsAndOpenTags", u"a<!-- <script>x</script> -->b<i title=\"", u"ab"},
        // A browser ends these at the first ">", inside quotes or not.
        SanitizeRow{"DeclarationsAndProcessingInstructionsEndAtTheFirstGreaterThan",
                    u"a<?x t='><script>alert(1)</script>'>b<!x t=\"><embed src=y>\">c"
                    u"<!DOCTYPE html>d<?",
                    u"a'>b\">cd"},
        // Their content is text to a browser up to the closing tag, whatever it looks like.
        SanitizeRow{"TextOnlyElementsGoWithTheirContent",
                    u"a<style><i title=\"</style><script>alert(1)</script>\">b"
                    u"<TITLE>t</title>c<textarea><b x='</textarea ><embed src=x>'>d<xmp>e",
                    u"a\">bc'>d"},
        // What is removed must not join a "<" before it with the text after it.
        SanitizeRow{"NoTagFormedAcrossWhatIsRemoved",
                    u"a<<!-- -->script>alert(1)</script>b<<?x>iframe>c<<embed>img src=x>",
                    u"a&lt;script>alert(1)b&lt;iframe>c&lt;img src=x>"},
        SanitizeRow{"EmbeddedSvgAndMathGoWithTheirContent",
                    u"a<svg><a><animate attributeName=href values=\"x;javascript:alert(1)\"/>"
                    u"<text>t</text></a></svg>b<MATH><mi>x</mi></math>c",
                    u"abc"},
        SanitizeRow{"AttributeAfterARemovedQuotedValueStaysAnAttribute",
                    u"<a href=\"javascript:x\"t=\"a>b<script>c</script>\">d",
                    u"<a t=\"a>b<script>c</script>\">d"}),
    [](const testing::TestParamInfo<SanitizeRow> &row) { return std::string(row.param.name); });

TEST(ScriptString, EscapesEverythingThatEndsAStringOrAnAttribute)
{
    EXPECT_EQ(escapeScriptString(u"it's \"a\" <b>&amp; 100% \\ `x`\r\n苹果"_s),
              u"it\\u0027s \\u0022a\\u0022 \\u003Cb\\u003E\\u0026amp; 100\\u0025 \\u005C "
              u"\\u0060x\\u0060\\u000D\\u000A苹果"_s);
    EXPECT_EQ(escapeScriptString(u"Plain text, with: marks (and) ?!"_s),
              u"Plain text, with: marks (and) ?!"_s);
}
