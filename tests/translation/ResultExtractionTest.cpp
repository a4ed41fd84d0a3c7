#include "translation/ResultExtraction.h"

#include "TestSites.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace mirel;
using namespace Qt::StringLiterals;

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(MIREL_TEST_DATA_DIR "/http/engines/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read fixture " << name;
    return file.readAll();
}

ExtractedResult extract(int engine, QByteArrayView body, QStringView target = u"英语")
{
    return extractResult(engine, body, target, testSites());
}

} // namespace

// One contract per engine, run through the same cases.
struct EngineContract
{
    const char *name;
    int engine;
    const char *successPage;
    const char16_t *expected;
    const char *blockEnd; // bytes of the marker that ends the page's result block
};

void PrintTo(const EngineContract &c, std::ostream *os)
{
    *os << c.name;
}

class EngineExtraction : public testing::TestWithParam<EngineContract>
{
};

TEST_P(EngineExtraction, SuccessPage)
{
    const EngineContract &c = GetParam();
    EXPECT_EQ(extract(c.engine, fixture(c.successPage)).text, QString::fromUtf16(c.expected));
}

TEST_P(EngineExtraction, MarkersMissingGiveEmpty)
{
    const EngineContract &c = GetParam();
    EXPECT_EQ(extract(c.engine, "<html><body><p>nothing here</p></body></html>").text, QString());
}

TEST_P(EngineExtraction, BlockEndMissingGivesEmpty)
{
    const EngineContract &c = GetParam();
    QByteArray page = fixture(c.successPage);
    const qsizetype end = page.indexOf(c.blockEnd);
    ASSERT_GT(end, 0);
    page.truncate(end);
    EXPECT_EQ(extract(c.engine, page).text, QString());
}

TEST_P(EngineExtraction, EmptyBodyGivesEmpty)
{
    EXPECT_EQ(extract(GetParam().engine, "").text, QString());
}

INSTANTIATE_TEST_SUITE_P(
    Engines, EngineExtraction,
    testing::Values(EngineContract{"Google", 0, "google_result.html", u"Hello, world &amp; you",
                                   "\"><div id=sug_exp>"},
                    // "<p>以上结果由" in GBK: the start of the relay's credit line
                    EngineContract{"BaiduRelay", 1, "relay_result.gbk.html", u"你好，世界！",
                                   "<p>\xD2\xD4\xC9\xCF\xBD\xE1\xB9\xFB\xD3\xC9"},
                    EngineContract{"Youdao", 2, "youdao_result.html", u"你好，\n世界 &lt;b&gt;",
                                   "class=\"submitcell\""},
                    EngineContract{"Yahoo", 3, "yahoo_result.html", u"こんにちは、世界",
                                   "<div class=\"clr\">"}),
    [](const auto &info) { return std::string(info.param.name); });

class Utf8EngineExtraction : public EngineExtraction
{
};

TEST_P(Utf8EngineExtraction, MalformedUtf8GivesEmpty)
{
    const EngineContract &c = GetParam();
    QByteArray page = fixture(c.successPage);
    page.append("<p>\xC3(</p>"); // a lead byte without its continuation, far from the result
    EXPECT_EQ(extract(c.engine, page).text, QString());
}

INSTANTIATE_TEST_SUITE_P(Engines, Utf8EngineExtraction,
                         testing::Values(EngineContract{"Google", 0, "google_result.html", u"", ""},
                                         EngineContract{"Youdao", 2, "youdao_result.html", u"", ""},
                                         EngineContract{"Yahoo", 3, "yahoo_result.html", u"", ""}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(GoogleExtraction, FontFollowsTheTarget)
{
    const QByteArray page = fixture("google_result.html");
    EXPECT_EQ(extract(0, page, u"韩语").font, u"Gulim"_s);
    EXPECT_EQ(extract(0, page, u"英语").font, u"MS Sans Serif"_s);
    EXPECT_EQ(extract(0, page, u"中文(简体)").font, u"MS Sans Serif"_s);
    // The font is set even when the page holds no result.
    EXPECT_EQ(extract(0, "", u"韩语").font, u"Gulim"_s);
    for (const int engine : {1, 2, 3})
        EXPECT_EQ(extract(engine, page, u"韩语").font, std::nullopt) << engine;
}

TEST(GoogleExtraction, ResultWithoutQuotes)
{
    EXPECT_EQ(
        extract(0, "x\"><input type=hidden name=gtrans value=\"Hello\"><div id=sug_exp>y").text,
        u"Hello"_s);
}

TEST(RelayExtraction, BusyTextBeatsResultBlock)
{
    EXPECT_EQ(extract(1, fixture("relay_busy.gbk.html")).text, u"翻译服务器繁忙,请稍后再试!"_s);
}

TEST(RelayExtraction, CreditLineComesFromTheRelayHome)
{
    EXPECT_EQ(
        relayCreditLine("http://www.relay.test"),
        u"<p>以上结果由<a href=\"http://www.relay.test\" target=\"_blank\">金桥翻译</a>提供"_s);

    // The fixture's credit line names www.relay.test; another home finds no end marker.
    Sites other = testSites();
    other.relayHome = "http://other.test";
    EXPECT_EQ(extractResult(1, fixture("relay_result.gbk.html"), u"中文", other).text, QString());
}

TEST(Extraction, UnknownEngineGivesEmptyResult)
{
    const QByteArray page = fixture("google_result.html");
    EXPECT_EQ(extract(4, page), ExtractedResult{});
    EXPECT_EQ(extract(-1, page), ExtractedResult{});
}
