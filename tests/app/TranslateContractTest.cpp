// One contract page per engine, through the same success and failure cases.
#include "EngineFixture.h"
#include "TranslateFixture.h"
#include "translation/ResultExtraction.h"
#include "util/TextCodec.h"

#include <QPlainTextEdit>

namespace mirel {
namespace {

const QString Previous = QStringLiteral("previous result");
const QString KeptFont = QStringLiteral("Kept Family");

class EngineContract : public test::TranslateFixture,
                       public testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        test::TranslateFixture::SetUp();
        if (HasFatalFailure())
            return;
        f = test::EngineFixture::load(
            QStringLiteral("contract_%1.txt").arg(QString::fromStdString(GetParam())),
            server->port());
        ASSERT_FALSE(f.engine.isEmpty());
        choose(f.engine, f.source, f.target);
        typePassage(f.passage);
        window->TranslateResult->setPlainText(Previous);
        QFont font = window->TranslateResult->font();
        font.setFamilies({KeptFont});
        window->TranslateResult->setFont(font);
    }

    bool isRelay() const { return f.engine == QStringLiteral("百度引擎"); }
    QByteArray charset() const { return isRelay() ? "GBK" : "UTF-8"; }

    // Answers the next request with this page and runs the command.
    QString translate(const QByteArray &page)
    {
        server->replyAndClose(test::pageReply(page, charset()));
        clickTranslate();
        return window->TranslateResult->toPlainText();
    }

    // The standard exception report, and nothing else, was shown; the box is untouched.
    void expectReportAndBoxKept(const QString &message)
    {
        ASSERT_EQ(presenter->boxes.size(), 1u);
        EXPECT_EQ(presenter->boxes[0].text, message);
        EXPECT_EQ(presenter->boxes[0].caption, QStringLiteral("Mirel免费翻译软件"));
        EXPECT_EQ(presenter->boxes[0].icon, mbiError);
        EXPECT_EQ(window->TranslateResult->toPlainText(), Previous);
        EXPECT_EQ(window->TranslateResult->font().family(), KeptFont);
    }

    test::EngineFixture f;
};

TEST_P(EngineContract, Success)
{
    EXPECT_EQ(translate(f.wire("page")), f.text("result"));
    EXPECT_EQ(server->requests().size(), 1);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_P(EngineContract, MarkersMissingClearTheBox)
{
    EXPECT_EQ(translate(f.wire("nomarkers")), QString());
    EXPECT_TRUE(presenter->boxes.empty());
}

// Google, Youdao and Yahoo pages are strict UTF-8; the relay's GBK page has no such rule.
TEST_P(EngineContract, MalformedUtf8GivesNothing)
{
    const QByteArray page = f.wire("page") + "<p>\xC0\xAF\xFF</p>";
    EXPECT_EQ(translate(page), isRelay() ? f.text("result") : QString());
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_P(EngineContract, EmptyPageClearsTheBox)
{
    EXPECT_EQ(translate(QByteArray()), QString());
    EXPECT_TRUE(presenter->boxes.empty());
}

// The busy marker only means something on the relay's page, and there it wins.
TEST_P(EngineContract, RelayBusyBeatsAResultBlock)
{
    const QByteArray busy = isRelay() ? toGbk(RelayBusyMarker) : RelayBusyMarker.toUtf8();
    const QString expected = isRelay() ? RelayBusyText.toString() : f.text("result");
    EXPECT_EQ(translate(f.wire("page") + busy), expected);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_P(EngineContract, NotFoundShowsTheReportAndKeepsTheBox)
{
    server->replyAndClose("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\n"
                          "Content-Length: 9\r\nConnection: close\r\n\r\nNot Found");
    clickTranslate();
    expectReportAndBoxKept(QStringLiteral("HTTP/1.1 404 Not Found."));
    EXPECT_EQ(server->requests().size(), 1);
}

TEST_P(EngineContract, RefusedConnectionShowsTheReportAndKeepsTheBox)
{
    server.reset();
    clickTranslate();
    expectReportAndBoxKept(QStringLiteral("Socket Error # 10061\r\nConnection refused."));
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineContract,
                         testing::ValuesIn(test::EngineFixture::contractEngines()),
                         [](const testing::TestParamInfo<std::string> &info) {
                             return info.param;
                         });

} // namespace
} // namespace mirel
