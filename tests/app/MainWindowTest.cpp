#include "WindowFixture.h"
#include "app/TPictureLabel.h"
#include "app/TWebBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

namespace mirel {
namespace {

class MainWindow : public test::WindowFixture
{
protected:
    void SetUp() override
    {
        test::WindowFixture::SetUp();
        window = makeWindow(webFolder());
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QRect inClientArea(const QWidget *w) const
    {
        return QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size());
    }

    void focus(QWidget *w)
    {
        w->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }));
    }

    std::unique_ptr<TMirelMain> window;
};

TEST_F(MainWindow, FixedClientAreaTitleAndFrame)
{
    EXPECT_EQ(window->size(), QSize(382, 477));
    EXPECT_EQ(window->minimumSize(), QSize(382, 477));
    EXPECT_EQ(window->maximumSize(), QSize(382, 477));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Mirel免费翻译软件"));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(window->windowIcon().isNull());
    // "宋体" or its stand-in: 12 px, and it has the Chinese glyphs.
    EXPECT_EQ(window->font().pixelSize(), 12);
    EXPECT_TRUE(QFontMetrics(window->font()).inFont(QChar(u'翻')))
        << QFontInfo(window->font()).family().toStdString();
}

TEST_F(MainWindow, ControlsSitAtTheirPixels)
{
    EXPECT_EQ(inClientArea(window->TopPanel), QRect(0, 0, 382, 33));
    EXPECT_EQ(inClientArea(window->TabControl), QRect(0, 33, 382, 395));
    EXPECT_EQ(inClientArea(window->pnlAD), QRect(0, 428, 382, 49));
    EXPECT_EQ(inClientArea(window->ADWeb), QRect(0, 428, 382, 49));
    // Translation page: 33 (top bar) + 2 (page offset) + own top.
    EXPECT_EQ(inClientArea(window->TranslateContent), QRect(9, 42, 368, 83));
    EXPECT_EQ(inClientArea(window->TranslateType), QRect(9, 133, 93, 20));
    EXPECT_EQ(inClientArea(window->OLDLanguage), QRect(110, 133, 96, 20));
    EXPECT_EQ(inClientArea(window->NEWLanguage), QRect(227, 133, 96, 20));
    EXPECT_EQ(inClientArea(window->TranslateButton), QRect(330, 132, 47, 22));
    EXPECT_EQ(inClientArea(window->TranslateICO), QRect(211, 138, 11, 11));
    EXPECT_EQ(inClientArea(window->TranslateLine), QRect(8, 171, 370, 15));
    EXPECT_EQ(inClientArea(window->TranslateLabel), QRect(14, 165, 67, 16));
    EXPECT_EQ(inClientArea(window->TranslateResult), QRect(6, 194, 369, 225));
    EXPECT_EQ(window->TranslateLine->pixmap().size(), QSize(368, 15));
    EXPECT_EQ(window->TranslateICO->pixmap().size(), QSize(10, 11));
    EXPECT_TRUE(window->TranslateResult->isReadOnly());
    EXPECT_EQ(window->TranslateResult->font().pixelSize(), 13);
    EXPECT_TRUE(window->TranslateLabel->font().bold());
    // Dictionary page, were it shown.
    window->TabControl->setCurrentWidget(window->TabWord);
    EXPECT_EQ(inClientArea(window->WordPanel), QRect(0, 35, 382, 42));
    EXPECT_EQ(inClientArea(window->Word), QRect(13, 44, 277, 23));
    EXPECT_EQ(inClientArea(window->WordButton), QRect(303, 43, 70, 24));
    EXPECT_EQ(inClientArea(window->WordBrowser), QRect(1, 80, 385, 343));
}

TEST_F(MainWindow, ShowsTheTranslationPageWithFilledLists)
{
    EXPECT_EQ(window->TabControl->currentWidget(), window->TabTranslate);
    EXPECT_EQ(window->TabControl->indexOf(window->TabWord), 0);
    EXPECT_TRUE(window->TranslateButton->isVisible());
    EXPECT_FALSE(window->WordButton->isVisible());

    QStringList engines;
    for (int i = 0; i < window->TranslateType->count(); ++i)
        engines << window->TranslateType->itemText(i);
    EXPECT_EQ(engines, (QStringList{QStringLiteral("Google引擎"), QStringLiteral("百度引擎"),
                                    QStringLiteral("网易引擎"), QStringLiteral("雅虎引擎")}));
    EXPECT_EQ(window->TranslateType->currentIndex(), 0);
    EXPECT_EQ(window->OLDLanguage->count(), 52);
    EXPECT_EQ(window->NEWLanguage->count(), 52);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("中文(简体)"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("英语"));

    // A second showing fills nothing again.
    window->hide();
    window->show();
    EXPECT_EQ(window->TranslateType->count(), 4);
}

TEST_F(MainWindow, CtrlTabSwitchesNoPage)
{
    for (QWidget *w : {static_cast<QWidget *>(window->TranslateType),
                       static_cast<QWidget *>(window->TranslateButton)}) {
        focus(w);
        QTest::keyClick(w, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(window->TabControl->currentWidget(), window->TabTranslate);
        EXPECT_FALSE(window->TabWord->isVisible());
    }
}

TEST_F(MainWindow, EnterInAListClicksTheTranslateButton)
{
    QSignalSpy translate(window->TranslateButton, &QPushButton::clicked);
    QSignalSpy word(window->WordButton, &QPushButton::clicked);
    for (QComboBox *list : {window->TranslateType, window->OLDLanguage, window->NEWLanguage}) {
        focus(list);
        QTest::keyClick(list, Qt::Key_Return);
    }
    focus(window->TranslateType);
    QTest::keyClick(window->TranslateType, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(translate.count(), 4);
    // With a modifier Enter clicks nothing.
    QTest::keyClick(window->TranslateType, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(translate.count(), 4);
    EXPECT_EQ(word.count(), 0);
}

TEST_F(MainWindow, EnterInTheTextBoxesClicksNothing)
{
    QSignalSpy translate(window->TranslateButton, &QPushButton::clicked);
    focus(window->TranslateContent);
    QTest::keyClicks(window->TranslateContent, QStringLiteral("ab"));
    QTest::keyClick(window->TranslateContent, Qt::Key_Return);
    QTest::keyClicks(window->TranslateContent, QStringLiteral("c"));
    EXPECT_EQ(window->TranslateContent->toPlainText(), QStringLiteral("ab\nc"));

    window->TranslateResult->setPlainText(QStringLiteral("result"));
    focus(window->TranslateResult);
    QTest::keyClick(window->TranslateResult, Qt::Key_Return);
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("result"));
    EXPECT_EQ(translate.count(), 0);
}

TEST_F(MainWindow, DictionaryPageTakesEnterForWordButton)
{
    window->TabControl->setCurrentWidget(window->TabWord);
    QSignalSpy translate(window->TranslateButton, &QPushButton::clicked);
    QSignalSpy word(window->WordButton, &QPushButton::clicked);
    focus(window->Word);
    QTest::keyClick(window->Word, Qt::Key_Return);
    EXPECT_EQ(word.count(), 1);
    EXPECT_EQ(translate.count(), 0);
}

} // namespace
} // namespace mirel
