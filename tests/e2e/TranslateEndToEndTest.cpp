// The window against the real site server: a sentence through each of the four engines,
// and one through Apertium.
#include "../app/RecordingPresenter.h"
#include "SiteServerProcess.h"
#include "WindowOnServer.h"
#include "app/MirelMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace mirel {
namespace {

class TranslateEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.start(QStringLiteral(MIREL_SITES_PATH))) << server.why().toStdString();
        window =
            test::windowOnServer(server.port(), dir.path() + QStringLiteral("/Web/"), presenter);
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(server.stop()) << server.why().toStdString();
    }

    QTemporaryDir dir;
    test::SiteServerProcess server;
    std::shared_ptr<test::RecordingPresenter> presenter =
        std::make_shared<test::RecordingPresenter>();
    std::unique_ptr<TMirelMain> window;
};

TEST_F(TranslateEndToEnd, EachEngineTranslatesASentence)
{
    struct Case
    {
        QString engine, source, target, passage, result;
    };
    const Case cases[] = {
        {QStringLiteral("Google引擎"), QStringLiteral("中文(简体)"), QStringLiteral("英语"),
         QStringLiteral("我喜欢苹果和茶。"), QStringLiteral("I like apple and tea.")},
        {QStringLiteral("百度引擎"), QStringLiteral("中文"), QStringLiteral("英语"),
         QStringLiteral("我喜欢苹果和茶。"), QStringLiteral("I like apple and tea.")},
        {QStringLiteral("网易引擎"), QStringLiteral("日语"), QStringLiteral("中文"),
         QStringLiteral("ありがとう"), QStringLiteral("谢谢")},
        {QStringLiteral("雅虎引擎"), QStringLiteral("英语"), QStringLiteral("中文"),
         QStringLiteral("good morning, friend\nthank you"), QStringLiteral("早上好，朋友\n谢谢")},
        {QStringLiteral("Google引擎"), QStringLiteral("中文(简体)"), QStringLiteral("中文(繁体)"),
         QStringLiteral("这个问题很简单，请帮我看一下。\n头发 公园 软件"),
         QStringLiteral("這個問題很簡單，請幫我看一下。\n頭髮 公園 軟體")},
    };
    for (const Case &c : cases) {
        test::translateInWindow(*window, c.engine, c.source, c.target, c.passage);
        EXPECT_EQ(window->TranslateResult->toPlainText(), c.result) << c.engine.toStdString();
    }
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
}

TEST_F(TranslateEndToEnd, APairNoEngineServesIsReportedAndTheBoxKept)
{
    window->TranslateResult->setPlainText(QStringLiteral("earlier"));
    test::translateInWindow(*window, QStringLiteral("Google引擎"), QStringLiteral("英语"),
                            QStringLiteral("韩语"), QStringLiteral("Hello"));

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, QStringLiteral("HTTP/1.1 501 Not Implemented."));
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("earlier"));
}

// Every request the window sends passes the site server's guard (Host, Origin, user): the
// ad strip's web view, the dictionary lookup, the update check five seconds after start.
TEST_F(TranslateEndToEnd, WindowRequestsPassTheGuard)
{
    window->TabControl->setCurrentWidget(window->TabWord);
    window->Word->setText(QStringLiteral("apple"));
    QTest::mouseClick(window->WordButton, Qt::LeftButton);
    const QByteArray served[] = {"GET /ad/201072928_1.html -> 200", "GET /search?",
                                 "GET /SiteBack/updateTxt/28.txt -> 200"};
    for (const QByteArray &line : served)
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.log().contains(line); }, 30000))
            << line.toStdString() << "\n"
            << server.log().toStdString();
    EXPECT_FALSE(server.log().contains("-> 403")) << server.log().toStdString();
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
}

// The site server with Apertium, as run.sh starts it: English to Spanish is Apertium's.
TEST(TranslateThroughApertium, EnglishToSpanishShowsApertiumsTranslation)
{
    QTemporaryDir dir;
    test::SiteServerProcess server;
    ASSERT_TRUE(server.start(QStringLiteral(MIREL_SITES_PATH), {}, 90000))
        << server.why().toStdString();
    // The server listens at once; Apertium's pairs answer 503 until APy has listed them.
    static const QRegularExpression listed(QStringLiteral("apertium: \\d+ pairs"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return listed.match(QString::fromUtf8(server.log())).hasMatch(); }, 90000))
        << server.log().toStdString();
    auto presenter = std::make_shared<test::RecordingPresenter>();
    const auto window =
        test::windowOnServer(server.port(), dir.path() + QStringLiteral("/Web/"), presenter);
    test::translateInWindow(*window, QStringLiteral("Google引擎"), QStringLiteral("英语"),
                            QStringLiteral("西班牙语"),
                            QStringLiteral("Hello, how are you today?"));

    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("Hola, cómo eres hoy?"));
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
    EXPECT_TRUE(server.stop()) << server.why().toStdString();
}

} // namespace
} // namespace mirel
