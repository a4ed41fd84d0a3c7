#include "sites/pages/FormBody.h"

#include <gtest/gtest.h>

using namespace mirel::siteserver;

TEST(FormBody, DecodesFieldsInOrderWithEscapes)
{
    const FormDecoding form = decodeFormBody("a=1%202&b=x%26y&c=%E4%B8%AD&file=&c=again");
    ASSERT_EQ(form.error, "");
    ASSERT_EQ(form.fields.size(), 5u);
    EXPECT_EQ(form.fields[0].value, "1 2");
    EXPECT_EQ(form.fields[1].value, "x&y");
    EXPECT_EQ(form.fields[2].value, "\xE4\xB8\xAD");
    EXPECT_EQ(form.fields[3].name, "file");
    EXPECT_EQ(form.fields[3].value, "");
    EXPECT_EQ(fieldValue(form.fields, "c"), "\xE4\xB8\xAD"); // the first one counts
    EXPECT_EQ(fieldValue(form.fields, "d"), std::nullopt);
    EXPECT_EQ(missingFields(form.fields, {"a", "d", "file", "e"}), "d, e");
}

TEST(FormBody, RejectsWhatTheProgramNeverSends)
{
    EXPECT_NE(decodeFormBody("text=a+b").error.find("\"+\""), std::string::npos);
    EXPECT_NE(decodeFormBody("text=a b").error, "");
    EXPECT_NE(decodeFormBody("text=%G0").error, "");
    EXPECT_NE(decodeFormBody("text=50%").error, "");
    EXPECT_NE(decodeFormBody("text=<b>").error, "");
    EXPECT_NE(decodeFormBody("text=\xE4\xB8\xAD").error, "");
    EXPECT_EQ(decodeFormBody("text=a?b/c:d;e!f(g)~").error, "");
}

TEST(FormBody, QueryIsDecodedLenientlyWithRawBytes)
{
    const auto q = decodeQuery("tab=chn&q=\xE8\x8B\xB9&btnG=%E6%90%9C+%e7%b4%a2&r=3");
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[1].value, "\xE8\x8B\xB9");
    EXPECT_EQ(q[2].value, "搜 索");
}
