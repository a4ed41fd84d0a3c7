#include "dictionary/HtmlSanitizer.h"
#include "dictionary/HtmlFragment.h"
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
                    u"苹果<br>苹果树 <i>it's</i> a &lt; b"},
        SanitizeRow{"ScriptElementWithContent",
                    u"a<script>alert(1)</script>b<SCRIPT src=x></SCRIPT >c", u"abc"},
        SanitizeRow{"UnclosedScriptRunsToTheEnd", u"a<script>alert(1)", u"a"},
        SanitizeRow{"EventHandlers",
                    u"<img src=x onerror=alert(1)><b ONMOUSEOVER='x()' id=\"k\">t</b>",
                    u"<b>t</b>"},
        SanitizeRow{"ScriptAddresses",
                    u"<a href=\"javascript:alert(1)\">x</a><a href=' JaVa&#x09;Script:y()'>y</a>"
                    u"<a href=\"&#106;avascript:z\">z</a><a href=\"/search?q=a\">rel</a>",
                    u"<a>x</a><a>y</a><a>z</a><a>rel</a>"},
        SanitizeRow{"LinksKeepOnlyPlainWebAddresses",
                    u"<a href=\" HTTP://x/?a=1&amp;b=&quot;2 \" title=t>x</a>"
                    u"<a href=\"http://x/&#10;y\">y</a><a href=https://y/>z</a>",
                    u"<a href=\"HTTP://x/?a=1&amp;b=&quot;2\">x</a><a>y</a>"
                    u"<a href=\"https://y/\">z</a>"},
        SanitizeRow{"FontKeepsColorSizeAndFace",
                    u"<FONT COLOR=red size=\"7\" face='a\"b' style=\"x\" onclick=y>f</font>"
                    u"<span class=c>s</span><sup>1</sup><sub>2</sub><u>u</u><em>e</em>"
                    u"<strong>s</strong><div><p>d</p></div>",
                    u"<font color=\"red\" size=\"7\" face=\"a&quot;b\">f</font><span>s</span>"
                    u"<sup>1</sup><sub>2</sub><u>u</u><em>e</em><strong>s</strong>d"},
        SanitizeRow{"ObjectsAndFrames",
                    u"a<iframe src=\"file:///etc/passwd\"></iframe>b<object data=x><param></object>"
                    u"c<embed src=x>d<frameset><frame src=y></frameset>e",
                    u"abcde"},
        SanitizeRow{"RefreshBaseAndLinkGo",
                    u"a<meta http-equiv=\"refresh\" content=\"0;url=file:///etc/hostname\">b"
                    u"<base href=\"file:///\">c<link rel=stylesheet href=x>d",
                    u"abcd"},
        // A tag left open at the end can never be markup: it stays as text.
        SanitizeRow{"CommentsAndOpenTags", u"a<!-- <script>x</script> -->b<i title=\"",
                    u"ab&lt;i title=\""},
        SanitizeRow{"BareLessThanStaysText", u"if x<y then <b>a &amp; b</b> &lt;i&gt; x</y> a<b",
                    u"if x&lt;y then <b>a &amp; b</b> &lt;i&gt; x&lt;/y&gt; a&lt;b"},
        // A browser ends these at the first ">", inside quotes or not.
        SanitizeRow{"DeclarationsAndProcessingInstructionsEndAtTheFirstGreaterThan",
                    u"a<?x t='><script>alert(1)</script>'>b<!x t=\"><embed src=y>\">c"
                    u"<!DOCTYPE html>d<?",
                    u"a'&gt;b\"&gt;cd"},
        // Their content is text to a browser up to the closing tag, whatever it looks like.
        SanitizeRow{"TextOnlyElementsGoWithTheirContent",
                    u"a<style><i title=\"</style><script>alert(1)</script>\">b"
                    u"<TITLE>t</title>c<textarea><b x='</textarea ><embed src=x>'>d<xmp>e",
                    u"a\"&gt;bc'&gt;d"},
        // What is removed must not join a "<" before it with the text after it.
        SanitizeRow{"NoTagFormedAcrossWhatIsRemoved",
                    u"a<<!-- -->script>alert(1)</script>b<<?x>iframe>c<<embed>img src=x>",
                    u"a&lt;script&gt;alert(1)b&lt;iframe&gt;c&lt;img src=x&gt;"},
        SanitizeRow{"EmbeddedSvgAndMathGoWithTheirContent",
                    u"a<svg><a><animate attributeName=href values=\"x;javascript:alert(1)\"/>"
                    u"<text>t</text></a></svg>b<MATH><mi>x</mi></math>c<template>t</template>",
                    u"abc"},
        SanitizeRow{"AttributeAfterARemovedQuotedValueStaysAnAttribute",
                    u"<a href=\"javascript:x\"t=\"a>b<script>c</script>\">d", u"<a>d</a>"}),
    [](const testing::TestParamInfo<SanitizeRow> &row) { return std::string(row.param.name); });

TEST(HtmlSanitizerDepth, DeepNestingIsCutNotFollowedToTheEnd)
{
    const QString deep = u"<span>"_s.repeated(500000);
    const QString out = sanitizeHtmlFragment(deep);
    EXPECT_TRUE(out.startsWith(u"<span><span>"_s));
    EXPECT_LT(out.size(), 3 * HtmlFragment::kMaxFragmentLength);
}

TEST(HtmlFragmentText, ShownTextWithReferencesDecoded)
{
    EXPECT_EQ(htmlFragmentText(u"I don&#39;t <b>like</b> apples.<br>x<script>y</script>"
                               u"<style>z</style> a&lt;b&nbsp;c"_s),
              u"I don't like apples. x a<b\u00A0c"_s);
    EXPECT_EQ(htmlFragmentText(u"if x<y then"_s), u"if x<y then"_s);
}

TEST(ScriptString, EscapesEverythingThatEndsAStringOrAnAttribute)
{
    EXPECT_EQ(escapeScriptString(u"it's \"a\" <b>&amp; 100% \\ `x`\r\n苹果"_s),
              u"it\\u0027s \\u0022a\\u0022 \\u003Cb\\u003E\\u0026amp; 100\\u0025 \\u005C "
              u"\\u0060x\\u0060\\u000D\\u000A苹果"_s);
    EXPECT_EQ(escapeScriptString(u"Plain text, with: marks (and) ?!"_s),
              u"Plain text, with: marks (and) ?!"_s);
}
