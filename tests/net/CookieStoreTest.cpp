#include "net/CookieStore.h"

#include "util/Errors.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {

const QDateTime kStart(QDate(2030, 1, 1), QTime(12, 0), Qt::UTC);

struct Set
{
    QByteArray line;
    QByteArray host;
};

struct CookieRow
{
    const char *name;
    std::vector<Set> sets;
    QByteArray host; // the request
    QByteArray path; // its directory path
    QByteArray expected;
    int secondsLater = 0; // clock moved before the request
};

class CookieStoreRows : public testing::TestWithParam<CookieRow>
{
};

} // namespace

TEST_P(CookieStoreRows, CookieValue)
{
    QDateTime now = kStart;
    TCookieStore store([&now] { return now; });
    for (const Set &s : GetParam().sets)
        store.AddCookie(s.line, s.host);
    now = now.addSecs(GetParam().secondsLater);
    EXPECT_EQ(store.CookieValue(GetParam().host, GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CookieStoreRows,
    testing::Values(
        CookieRow{"HostCookieToSameHost", {{"a=1", "s.a.test"}}, "s.a.test", "/", "a=1"},
        CookieRow{"HostCookieToSubdomain", {{"a=1", "s.a.test"}}, "x.s.a.test", "/", "a=1"},
        CookieRow{"HostCookieNotToSibling", {{"a=1", "s.a.test"}}, "img.a.test", "/", ""},
        CookieRow{"HostCookieNotToLongerName", {{"a=1", "s.a.test"}}, "s.a.test.b.test", "/", ""},
        CookieRow{"DomainCookieToSibling",
                  {{"a=1; domain=.a.test", "s.a.test"}},
                  "img.a.test",
                  "/",
                  "a=1"},
        CookieRow{
            "ForeignDomainDropped", {{"a=1; domain=.b.test", "s.a.test"}}, "s.b.test", "/", ""},
        CookieRow{
            "UpperCaseDomainDropped", {{"a=1; domain=.A.TEST", "s.a.test"}}, "s.a.test", "/", ""},
        CookieRow{
            "NoLabelBoundaryOnSet", {{"a=1; domain=a.test", "evila.test"}}, "evila.test", "/", ""},
        CookieRow{"NoLabelBoundaryOnSend", {{"a=1", "a.test"}}, "evila.test", "/", ""},
        CookieRow{
            "SingleLabelDomainDropped", {{"a=1; domain=.test", "s.a.test"}}, "b.test", "/", ""},
        CookieRow{"SingleLabelEqualToHostKept",
                  {{"a=1; domain=localhost", "localhost"}},
                  "localhost",
                  "/",
                  "a=1"},
        CookieRow{"IpHostNeedsExactDomain",
                  {{"a=1", "127.0.0.1"}, {"b=2; domain=.0.0.1", "127.0.0.1"}},
                  "127.0.0.1",
                  "/",
                  "a=1"},
        CookieRow{"ControlByteDropped",
                  {{QByteArray("a=x\x01y", 5), "h.test"}, {"b=\x7F", "h.test"}, {"c=3", "h.test"}},
                  "h.test",
                  "/",
                  "c=3"},
        CookieRow{"ReplacedInPlace",
                  {{"a=1", "h.test"}, {"b=2", "h.test"}, {"A=3", "h.test"}},
                  "h.test",
                  "/",
                  "A=3; b=2"},
        CookieRow{"SameNameOtherPathReplaces",
                  {{"a=1; path=/x/", "h.test"}, {"a=2; path=/", "h.test"}},
                  "h.test",
                  "/",
                  "a=2"},
        CookieRow{"PathIsDirectoryPrefix", {{"a=1; path=/search", "h.test"}}, "h.test", "/", ""},
        CookieRow{"QuotedPath", {{"a=1; path=\"/d/\"", "h.test"}}, "h.test", "/d/e/", "a=1"},
        CookieRow{
            "EmptyValueNeverSent", {{"a=", "h.test"}, {"noequals", "h.test"}}, "h.test", "/", ""},
        CookieRow{"SecureNeverSent",
                  {{"a=1; secure", "h.test"}, {"b=2; Secure=no", "h.test"}},
                  "h.test",
                  "/",
                  "b=2"},
        CookieRow{"NameAndValueAsReceived", {{" a = b ; x", "h.test"}}, "h.test", "/", "a = b"},
        CookieRow{"LaterKeyFirst",
                  {{"a=1; domain=.a.test", "s.a.test"}, {"b=2", "s.a.test"}, {"c=3", "s.a.test"}},
                  "s.a.test",
                  "/",
                  "b=2; c=3; a=1"},
        CookieRow{"MaxAgeZeroRemoved", {{"a=1; Max-Age=0", "h.test"}}, "h.test", "/", "", 1},
        CookieRow{"MaxAgeStillValid", {{"a=1; Max-Age=60", "h.test"}}, "h.test", "/", "a=1", 59},
        CookieRow{"MaxAgeRunsOut", {{"a=1; Max-Age=60", "h.test"}}, "h.test", "/", "", 61},
        CookieRow{"ExpiresIn1970Removed",
                  {{"a=1; expires=Thu, 01-Jan-1970 00:00:01 GMT", "h.test"}},
                  "h.test",
                  "/",
                  ""},
        CookieRow{"ExpiresBeatsMaxAge",
                  {{"a=1; expires=Thu, 01-Jan-1970 00:00:01 GMT; max-age=100", "h.test"}},
                  "h.test",
                  "/",
                  ""},
        CookieRow{
            "UnreadableExpiresRemoved", {{"a=1; expires=whenever", "h.test"}}, "h.test", "/", ""},
        CookieRow{"ReplacementKeepsItsExpires",
                  {{"a=1", "h.test"}, {"a=2; expires=Thu, 01-Jan-1970 00:00:01 GMT", "h.test"}},
                  "h.test",
                  "/",
                  ""},
        CookieRow{"ReplacementDropsOldExpiry",
                  {{"a=1; Max-Age=10", "h.test"}, {"a=2", "h.test"}},
                  "h.test",
                  "/",
                  "a=2",
                  20}),
    [](const testing::TestParamInfo<CookieRow> &info) { return std::string(info.param.name); });

TEST(CookieStore, FilingKeysAndOrder)
{
    TCookieStore store;
    store.AddCookie("a=1; domain=.A.test", "s.a.test"); // host does not end with it: dropped
    store.AddCookie("b=2; domain=.a.test", "s.a.test");
    store.AddCookie("c=3; domain=.A.Test", "x.A.Test");
    ASSERT_EQ(store.domains().size(), 1);
    EXPECT_EQ(store.domains()[0].key, ".a.test");
    ASSERT_EQ(store.domains()[0].cookies.size(), 2);
    EXPECT_EQ(store.domains()[0].cookies[1].Domain, ".A.Test");
}

TEST(CookieStore, ReplacementInPlaceAfterExpiredOnesLeave)
{
    QDateTime now = kStart;
    TCookieStore store([&now] { return now; });
    for (const QByteArray line : {"a=1; Max-Age=10", "b=2", "c=3"})
        store.AddCookie(line, "h.test");
    now = now.addSecs(20);
    EXPECT_EQ(store.CookieValue("h.test", "/"), "b=2; c=3");
    store.AddCookie("B=5", "h.test");
    store.AddCookie("a=6", "h.test");
    EXPECT_EQ(store.CookieValue("h.test", "/"), "B=5; c=3; a=6");
}

TEST(CookieStore, ParsedAttributes)
{
    const QDateTime now(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
    const TCookieRFC2109 c =
        parseCookie("n=v; Path=/p; path=/second; MAX-AGE=30; Version=1; Comment=hi", now);
    EXPECT_EQ(c.Path, "/p");
    EXPECT_EQ(c.MaxAge, 30);
    EXPECT_EQ(c.Expires, "Tue, 01 Jan 2030 00:00:30 GMT");
    EXPECT_EQ(c.Style, csNetscape);
    EXPECT_EQ(c.Version, "1");
    EXPECT_EQ(c.Comment, "hi");
    EXPECT_EQ(parseCookie("n=v; max-age=x", now).MaxAge, -1);
    EXPECT_EQ(parseCookie("n=v; expires=Thu, 01 Jan 2032 00:00:00 GMT", now).Style, csRFC2109);
}

TEST(CookieStore, SetCookie2Ports)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(parseCookie("a=1", now, true).PortList, QList<int>{80});
    EXPECT_EQ(parseCookie("a=1; Port=\"80, 8080\"; Discard", now, true).PortList,
              (QList<int>{80, 8080}));
    EXPECT_TRUE(parseCookie("a=1; Discard", now, true).Discard);
    EXPECT_EQ(parseCookie("a=1; Port=\"\"", now, true).PortList, QList<int>{80});
    try {
        parseCookie("a=1; Port=\"80,x1\"", now, true);
        FAIL() << "no conversion error";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), u"'x1' is not a valid integer value"_qs);
    }
}
