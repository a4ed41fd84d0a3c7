#include "util/TextCodec.h"

#include <gtest/gtest.h>

using namespace mirel;

TEST(Gbk, RoundTripsChinese)
{
    const QString text = u"中文翻译，“苹果”。Ａ"_qs;
    EXPECT_EQ(toGbk(u"中"), QByteArray("\xD6\xD0"));
    EXPECT_EQ(fromGbk(toGbk(text)), text);
}

TEST(Gbk, UnrepresentableBecomesQuestionMark)
{
    EXPECT_EQ(toGbk(u"a한b"), "a?b");
    EXPECT_EQ(toGbk(u"x\U0001F600y"), "x?y");                 // one "?" for the surrogate pair
    EXPECT_EQ(toGbk(QString(QChar(0xD800)) + u"z"_qs), "?z"); // lone surrogate
    EXPECT_EQ(toGbk(u"é"), QByteArray("\xA8\xA6"));
}

TEST(Gbk, BadBytesDecodeToQuestionMarks)
{
    EXPECT_EQ(fromGbk(QByteArray("a\xFF"
                                 "b")),
              u"a?b");
    EXPECT_EQ(fromGbk(QByteArray("\xD6")), u"?"); // cut-off lead byte
}

TEST(Gbk, StrictDecodingRefusesBadBytes)
{
    EXPECT_EQ(fromGbkStrict(QByteArray("a\xD6\xD0")), u"a中"_qs);
    EXPECT_EQ(fromGbkStrict(QByteArray()), u""_qs);
    EXPECT_EQ(fromGbkStrict(QByteArray("a\xFF")), std::nullopt);
    EXPECT_EQ(fromGbkStrict(QByteArray("\xD6")), std::nullopt); // cut-off lead byte
}

TEST(Utf8Strict, AllOrNothing)
{
    EXPECT_EQ(fromUtf8Strict("\xE4\xB8\xAD\xE6\x96\x87"), u"中文");
    EXPECT_EQ(fromUtf8Strict("abc\x80"), u"");      // lone continuation byte
    EXPECT_EQ(fromUtf8Strict("\xC0\xAF"), u"");     // overlong "/"
    EXPECT_EQ(fromUtf8Strict("\xED\xA0\x80"), u""); // encoded surrogate
    EXPECT_EQ(fromUtf8Strict("ok\xE4\xB8"), u"");   // truncated at the end
    EXPECT_EQ(fromUtf8Strict(""), u"");
    EXPECT_EQ(fromUtf8Strict("\xF0\x9F\x98\x80"), u"\U0001F600");
}
