#include "dictionary/PageTemplate.h"
#include "DictionaryFixtures.h"
#include "util/Errors.h"
#include "util/TextCodec.h"

#include <gtest/gtest.h>

using namespace mirel;
using namespace mirel::test;
using namespace Qt::StringLiterals;

TEST(PageText, ByteOrderMarksAndLineEnds)
{
    const QString expected = u"<p>苹果</p>\r\n\r\nb\r\nc\r\n"_s;
    const QString source = u"<p>苹果</p>\r\n\nb\rc"_s;
    EXPECT_EQ(readPageText("\xFF\xFE" + utf16le(source)), expected);
    QByteArray be("\xFE\xFF");
    for (const QChar c : source) {
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    EXPECT_EQ(readPageText(be), expected);
    EXPECT_EQ(readPageText("\xEF\xBB\xBF" + source.toUtf8()), expected);
    EXPECT_EQ(readPageText(toGbk(source)), expected);
    // A final line break adds no empty line.
    EXPECT_EQ(readPageText("a\r\n"), u"a\r\n"_s);
    EXPECT_EQ(readPageText(""), u""_s);
}

TEST(PageTemplateFill, DirectivesFilledInOrder)
{
    EXPECT_EQ(fillTemplate(u"[%s|%s] 100%% %d"_s, {u"%s"_s, u"b"_s, u"unused"_s}),
              u"[%s|b] 100% %d"_s);
    EXPECT_EQ(fillTemplate(u"tail %"_s, {}), u"tail %"_s);
}

TEST(PageTemplateFill, MissingArgumentIsAFormatError)
{
    try {
        fillTemplate(u"%s %s"_s, {u"a"_s});
        FAIL() << "no error";
    } catch (const EFormatError &e) {
        EXPECT_EQ(e.message(), u"No argument for format '%s'"_s);
    }
}

TEST(PageFile, Utf16LittleEndianWithMarkAndCrLfAfterEveryLine)
{
    EXPECT_EQ(pageFileBytes(u"a\n苹\r\nb"_s), QByteArray("\xFF\xFE"
                                                         "a\0\r\0\n\0\xF9\x82\r\0\n\0b\0\r\0\n\0",
                                                         20));
}
