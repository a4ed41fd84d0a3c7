// The result-page fuzz target's oracle for script arguments, against the page's escape
// and against copies of it that leave one character unescaped.
#include "fuzz/ScriptArgumentOracle.h"
#include "dictionary/ScriptString.h"

#include <gtest/gtest.h>

using namespace mirel;
using namespace mirel::fuzz;

namespace {

// The escape with the escape of one character undone: a copy of it without that case.
QString escapedExcept(const QString &text, QChar kept)
{
    const QString escape = QStringLiteral("\\u") +
                           QString::number(kept.unicode(), 16).toUpper().rightJustified(4, u'0');
    return escapeScriptString(text).replace(escape, QString(kept));
}

struct MutantRow
{
    const char *name;
    char16_t kept;
    const char16_t *text;
    bool breaksPlay;   // in href="javascript:Play('…')"
    bool breaksScript; // in <script>isChinese('…');</script>
};

class ScriptArgumentOracle : public testing::TestWithParam<MutantRow>
{
};

} // namespace

TEST_P(ScriptArgumentOracle, HoldsForTheEscapeCatchesTheCopy)
{
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_TRUE(playArgumentHolds(escapeScriptString(text)));
    EXPECT_TRUE(scriptArgumentHolds(escapeScriptString(text)));
    const QString mutant = escapedExcept(text, QChar(GetParam().kept));
    ASSERT_NE(mutant, escapeScriptString(text));
    EXPECT_EQ(playArgumentHolds(mutant), !GetParam().breaksPlay) << mutant.toStdString();
    EXPECT_EQ(scriptArgumentHolds(mutant), !GetParam().breaksScript) << mutant.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Copies, ScriptArgumentOracle,
    testing::Values(MutantRow{"Percent", u'%', u"%27);alert(1);//", true, false},
                    MutantRow{"Ampersand", u'&', u"&#39;);alert(1);//", true, false},
                    MutantRow{"NamedReference", u'&', u"&apos;);alert(1);//", true, false},
                    MutantRow{"Backslash", u'\\', u"a\\", true, true},
                    MutantRow{"Quote", u'\'', u"');alert(1);//", true, true},
                    MutantRow{"DoubleQuote", u'"', u"\" onmouseover=\"alert(1)", true, false},
                    MutantRow{"LessThan", u'<', u"</script x", false, true}),
    [](const testing::TestParamInfo<MutantRow> &info) { return std::string(info.param.name); });

TEST(ScriptArgumentOracle, StringLiteralRules)
{
    for (const auto *text : {u"''", u"'a\\'b'", u"'\\u0027\\x41\\u{1F600}'", u"'a\\\nb'"})
        EXPECT_TRUE(isOneStringLiteral(QString::fromUtf16(text)))
            << QString::fromUtf16(text).toStdString();
    for (const auto *text :
         {u"'a'b'", u"'a", u"'a\\'", u"'\\x4'", u"'\\u{110000}'", u"'a\nb'", u"'a\u2028b'", u"a"})
        EXPECT_FALSE(isOneStringLiteral(QString::fromUtf16(text)))
            << QString::fromUtf16(text).toStdString();
}
