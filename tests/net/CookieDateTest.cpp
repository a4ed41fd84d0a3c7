#include "net/CookieDate.h"
#include "net/RequestWriter.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {

struct DateRow
{
    const char *name;
    QByteArray text;
    QDateTime utc; // invalid: unreadable
};

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

class CookieDate : public testing::TestWithParam<DateRow>
{
};

} // namespace

TEST_P(CookieDate, Reads)
{
    const std::optional<QDateTime> parsed = parseCookieDate(GetParam().text);
    if (!GetParam().utc.isValid()) {
        EXPECT_FALSE(parsed.has_value());
        EXPECT_LT(cookieExpiryMoment(GetParam().text), at(1900, 1, 1));
        return;
    }
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, GetParam().utc);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CookieDate,
    testing::Values(
        DateRow{"Rfc1123", "Sun, 06 Nov 1994 08:49:37 GMT", at(1994, 11, 6, 8, 49, 37)},
        DateRow{"NoBlankAfterDayName", "Thu,01-Jan-2099 00:00:00 GMT", at(2099, 1, 1)},
        DateRow{"Rfc850TwoDigitYear", "Sunday, 06-Nov-94 08:49:37 GMT", at(1994, 11, 6, 8, 49, 37)},
        DateRow{"YearBelow80", "Wed, 09-Jun-21 10:18:14 GMT", at(2021, 6, 9, 10, 18, 14)},
        DateRow{"Asctime", "Sun Nov  6 08:49:37 1994", at(1994, 11, 6, 8, 49, 37)},
        DateRow{"MonthFirst", "Nov 06 1994 08:49:37", at(1994, 11, 6, 8, 49, 37)},
        DateRow{"NoDayName", "  06 Nov 2030 23:00:00 GMT ", at(2030, 11, 6, 23)},
        DateRow{"Pm", "06 Nov 1994 08:49:37 PM GMT", at(1994, 11, 6, 20, 49, 37)},
        DateRow{"AttachedAm", "06 Nov 1994 12:10:00AM", at(1994, 11, 6, 0, 10)},
        DateRow{"PlusZone", "06 Nov 1994 08:49:37 +0800", at(1994, 11, 6, 0, 49, 37)},
        DateRow{"MinusZone", "06 Nov 1994 08:49:37 -0130", at(1994, 11, 6, 10, 19, 37)},
        DateRow{"OtherZoneIsGmt", "06 Nov 1994 08:49:37 PST", at(1994, 11, 6, 8, 49, 37)},
        DateRow{"Epoch", "Thu, 01 Jan 1970 00:00:00 GMT", at(1970, 1, 1)},
        DateRow{"Garbage", "not a date", QDateTime()}, DateRow{"Empty", "", QDateTime()},
        DateRow{"NoSuchDay", "31 Feb 2030 00:00:00", QDateTime()},
        DateRow{"BadTime", "06 Nov 1994 8h49", QDateTime()}),
    [](const testing::TestParamInfo<DateRow> &info) { return std::string(info.param.name); });

TEST(CookieDate, WrittenFormReadsBack)
{
    const QDateTime moment = at(2031, 3, 4, 5, 6, 7);
    EXPECT_EQ(httpDate(moment), "Tue, 04 Mar 2031 05:06:07 GMT");
    EXPECT_EQ(parseCookieDate(httpDate(moment)), moment);
}
