#include "net/FormEncoding.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {

struct ValueRow
{
    const char *name;
    QByteArray value;
    QByteArray encoded;
};

class FormValue : public testing::TestWithParam<ValueRow>
{
};

} // namespace

TEST_P(FormValue, EncodesAsSent)
{
    EXPECT_EQ(encodeFormValue(GetParam().value), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormValue,
    testing::Values(ValueRow{"AmpersandAndEquals", "A&B=C", "A%26B%3DC"},
                    ValueRow{"PercentAndBlank", "50% off", "50%25%20off"},
                    ValueRow{"Plus", "a+b", "a%2Bb"}, ValueRow{"LineBreak", "x\r\ny", "x%0D%0Ay"},
                    ValueRow{"HighByte", "\x80", "%80"},
                    ValueRow{"TenEscaped", "*#%<>[]&=+", "%2A%23%25%3C%3E%5B%5D%26%3D%2B"},
                    ValueRow{"PassUnchanged", "?/:;@$,!\"'()\\^{|}~\x7F",
                             "?/:;@$,!\"'()\\^{|}~\x7F"},
                    // GBK second bytes 0x40..0x7E stay, except the brackets.
                    ValueRow{"GbkTrailBytes", "\xB0\x40\xB0[\xB0]", "%B0@%B0%5B%B0%5D"},
                    ValueRow{"ControlAndNul", QByteArray("\x00\x1F", 2), "%00%1F"}),
    [](const testing::TestParamInfo<ValueRow> &info) { return std::string(info.param.name); });

TEST(FormFields, EncodedInPlaceAndJoined)
{
    QList<QByteArray> fields{"a=1 2", "b=x&y", "c=\xE4\xB8\xAD", "plain", "o=", "k=v=w"};
    encodeFormFields(fields);
    EXPECT_EQ(fields,
              (QList<QByteArray>{"a=1%202", "b=x%26y", "c=%E4%B8%AD", "plain", "o=", "k=v%3Dw"}));
    EXPECT_EQ(joinFormFields(fields), "a=1%202&b=x%26y&c=%E4%B8%AD&plain&o=&k=v%3Dw");
}

TEST(FormFields, JoinEdges)
{
    EXPECT_EQ(joinFormFields({}), "");
    EXPECT_EQ(joinFormFields({"one=1"}), "one=1");
    EXPECT_EQ(joinFormFields({"o="}), "o=");
    // Bytes of 0x20 or less are trimmed from both ends of the whole text only.
    EXPECT_EQ(joinFormFields({" a=1", "b=2 "}), "a=1&b=2");
    EXPECT_EQ(joinFormFields({"", "a=1", ""}), "a=1");
}
