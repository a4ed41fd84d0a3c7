#include "TopBarFixture.h"
#include "app/PageSelection.h"
#include "controls/TImgButton.h"
#include "controls/TImgCheckButton.h"
#include "controls/TPaintPanel.h"
#include "resources/Pictures.h"
#include "tests/controls/PixelAsserts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>

namespace mirel {
namespace {

using test::grabRgb;
using test::sameBlock;

QImage rgb(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QImage face(const char *button, const char *name)
{
    return rgb(QString::fromLatin1(pictures::ButtonFacePattern)
                   .arg(QLatin1String(button), QLatin1String(name)));
}

class TopBar : public test::ShownWindow
{
protected:
    // What the bar shows at the button's place.
    testing::AssertionResult showsFace(const TImgControl *button, const QImage &expected)
    {
        return sameBlock(grabRgb(*window->TopPanel), button->geometry(), expected, {0, 0});
    }

    void clickHiddenWordButton()
    {
        // Made reachable: shown and lifted over Button_Translate.
        window->Button_Word->show();
        window->Button_Word->raise();
        click(window->Button_Word);
    }

    QWidget *shownPage() const
    {
        QWidget *const page = window->TabControl->currentWidget();
        return page != nullptr && page->isVisible() ? page : nullptr;
    }
};

TEST_F(TopBar, ControlsAndTheirProperties)
{
    EXPECT_EQ(window->TopPanel->geometry(), QRect(0, 0, 382, 33));
    EXPECT_EQ(window->TopPanel->PicHorzStretch(), hstLeft);
    EXPECT_EQ(window->TopPanel->PicVertStretch(), vstNone);
    EXPECT_TRUE(window->TopPanel->Caption().isEmpty());
    EXPECT_FALSE(window->TopPanel->AutoWidth());
    EXPECT_FALSE(window->TopPanel->AutoHeight());

    // Created in this order, so a later one lies over an earlier one.
    const QObjectList &children = window->TopPanel->children();
    ASSERT_EQ(children.size(), 3);
    EXPECT_EQ(children.at(0), window->Button_Word);
    EXPECT_EQ(children.at(1), window->Button_Translate);
    EXPECT_EQ(children.at(2), window->Button_Web);

    struct Expected
    {
        TImgControl *button;
        QRect geometry;
        int tag;
        bool visible;
    };
    for (const Expected &e : {Expected{window->Button_Word, {8, 11, 58, 22}, 0, false},
                              Expected{window->Button_Translate, {7, 11, 58, 22}, 1, true},
                              Expected{window->Button_Web, {71, 11, 80, 22}, 2, true}}) {
        SCOPED_TRACE(e.button->objectName().toStdString());
        EXPECT_EQ(e.button->geometry(), e.geometry);
        EXPECT_EQ(e.button->Tag(), e.tag);
        EXPECT_EQ(e.button->property("Tag").toInt(), e.tag);
        EXPECT_EQ(e.button->isVisible(), e.visible);
        EXPECT_EQ(e.button->OnEnterOffset(), 0);
        EXPECT_EQ(e.button->OnDownOffset(), 0);
        EXPECT_EQ(e.button->ImgNormal().size(), e.geometry.size());
        EXPECT_EQ(e.button->ImgEnter().size(), e.geometry.size());
        EXPECT_EQ(e.button->ImgDown().size(), e.geometry.size());
        EXPECT_EQ(e.button->ImgDisable().size(), e.geometry.size());
    }
    EXPECT_EQ(window->Button_Word->ImgCheck().size(), QSize(58, 22));
    EXPECT_EQ(window->Button_Translate->ImgCheck().size(), QSize(58, 22));
    EXPECT_TRUE(window->Button_Web->ImgCheck().isNull());
    EXPECT_FALSE(window->Button_Word->Checked());
    EXPECT_TRUE(window->Button_Translate->Checked());
    EXPECT_EQ(window->Button_Word->CheckGroup(), 0);
    EXPECT_EQ(window->Button_Translate->CheckGroup(), 0);
}

TEST_F(TopBar, ShowsTheRightPartOfItsPictureCutAtTheBottom)
{
    const QImage picture = rgb(QLatin1String(pictures::TopPanel));
    ASSERT_EQ(picture.size(), QSize(386, 56));
    window->Button_Translate->hide();
    window->Button_Web->hide();
    const QImage bar = grabRgb(*window->TopPanel);
    ASSERT_EQ(bar.size(), QSize(382, 33));
    EXPECT_TRUE(sameBlock(bar, bar.rect(), picture, {4, 0}));
}

TEST_F(TopBar, ButtonsShowTheirFacesInPlace)
{
    const QImage picture = rgb(QLatin1String(pictures::TopPanel));
    const QImage bar = grabRgb(*window->TopPanel);
    EXPECT_TRUE(showsFace(window->Button_Translate, face("Button_Translate", "Check")));
    EXPECT_TRUE(showsFace(window->Button_Web, face("Button_Web", "Normal")));
    // Between and beside the buttons the picture shows.
    EXPECT_TRUE(sameBlock(bar, {0, 0, 382, 11}, picture, {4, 0}));
    EXPECT_TRUE(sameBlock(bar, {0, 11, 7, 22}, picture, {4, 11}));
    EXPECT_TRUE(sameBlock(bar, {65, 11, 6, 22}, picture, {69, 11}));
    EXPECT_TRUE(sameBlock(bar, {151, 11, 231, 22}, picture, {155, 11}));

    // Hover and press change the face without moving it (both offsets are 0). The mouse
    // comes from the bar, so the button sees it enter.
    const QPoint web = inWindow(window->Button_Web, {40, 11});
    QTest::mouseMove(window->windowHandle(), {300, 5});
    QTest::mouseMove(window->windowHandle(), web);
    ASSERT_EQ(window->Button_Web->FaceState(), ifsEnter);
    EXPECT_TRUE(showsFace(window->Button_Web, face("Button_Web", "Enter")));
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, web);
    EXPECT_TRUE(showsFace(window->Button_Web, face("Button_Web", "Down")));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, web);
    EXPECT_TRUE(showsFace(window->Button_Web, face("Button_Web", "Enter")));
}

TEST_F(TopBar, WordButtonReachesTheDictionaryPageAndTranslateButtonReturns)
{
    clickHiddenWordButton();
    EXPECT_EQ(shownPage(), window->TabWord);
    EXPECT_TRUE(window->Button_Word->Checked());
    EXPECT_FALSE(window->Button_Translate->Checked());
    EXPECT_TRUE(window->WordButton->isVisible());
    EXPECT_FALSE(window->TranslateButton->isVisible());

    // No key leads back: Ctrl+Tab and Ctrl+Shift+Tab change nothing here either.
    window->Word->setFocus();
    QTest::keyClick(window->Word, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(window->Word, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shownPage(), window->TabWord);

    window->Button_Word->lower();
    click(window->Button_Translate);
    EXPECT_EQ(shownPage(), window->TabTranslate);
    EXPECT_FALSE(window->Button_Word->Checked());
    EXPECT_TRUE(window->Button_Translate->Checked());
}

TEST_F(TopBar, ClickingTheShownPageButtonChangesNothing)
{
    const QImage before = grabRgb(*window->TopPanel);
    click(window->Button_Translate);
    QTest::mouseMove(window->windowHandle(), {300, 300});
    EXPECT_EQ(shownPage(), window->TabTranslate);
    EXPECT_TRUE(window->Button_Translate->Checked());
    EXPECT_TRUE(sameBlock(grabRgb(*window->TopPanel), before.rect(), before, {0, 0}));
}

TEST_F(TopBar, EnterOnTheDictionaryPageClicksWordButton)
{
    clickHiddenWordButton();
    ASSERT_EQ(shownPage(), window->TabWord);
    QSignalSpy word(window->WordButton, &QPushButton::clicked);
    QSignalSpy translate(window->TranslateButton, &QPushButton::clicked);
    window->Word->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->Word->hasFocus(); }));
    QTest::keyClick(window->Word, Qt::Key_Return);
    EXPECT_EQ(word.count(), 1);
    EXPECT_EQ(translate.count(), 0);
}

TEST_F(TopBar, PageHandlersTakeTheTagOfImageControlsOnly)
{
    // Any other sender is ignored.
    QObject plain;
    plain.setProperty("Tag", 0);
    window->Button_WordClick(&plain);
    window->Button_TranslateClick(window->TabWord);
    window->Button_WordClick(nullptr);
    EXPECT_EQ(shownPage(), window->TabTranslate);

    // An image control of any kind counts, whatever button it is.
    TImgButton other(window->TopPanel);
    window->Button_TranslateClick(&other); // Tag 0
    EXPECT_EQ(shownPage(), window->TabWord);

    // An index with no page leaves no page shown; a valid one brings its page back.
    for (const int index : {2, -1}) {
        other.setTag(index);
        window->Button_WordClick(&other);
        EXPECT_EQ(shownPage(), nullptr) << index;
        EXPECT_FALSE(window->TabWord->isVisible());
        EXPECT_FALSE(window->TabTranslate->isVisible());
        window->Button_WordClick(window->Button_Word);
        EXPECT_EQ(shownPage(), window->TabWord) << index;
    }
    window->Button_WordClick(window->Button_Translate);
    EXPECT_EQ(shownPage(), window->TabTranslate);
}

TEST(PageIndex, IsTheTagOfAnImageControl)
{
    TImgCheckButton check;
    check.setTag(7);
    EXPECT_EQ(pageIndexOf(&check), 7);
    QWidget widget;
    widget.setProperty("Tag", 1);
    EXPECT_EQ(pageIndexOf(&widget), std::nullopt);
    EXPECT_EQ(pageIndexOf(nullptr), std::nullopt);
}

TEST_F(TopBar, WordPanelStretchesItsColumnUnderTheWordBox)
{
    const QImage column = rgb(QLatin1String(pictures::WordPanel));
    ASSERT_EQ(column.size(), QSize(1, 42));
    TPaintPanel *const panel = window->WordPanel;
    // Aligned to the top of its page: the page's whole width.
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 382, 42));
    EXPECT_EQ(panel->Caption(), QStringLiteral("WordPanel"));
    EXPECT_EQ(panel->PicHorzStretch(), hstRight);
    EXPECT_EQ(window->Word->parentWidget(), panel);
    EXPECT_EQ(window->WordButton->parentWidget(), panel);
    EXPECT_EQ(window->WordButton->text(), QStringLiteral("翻译"));

    const QImage bar = grabRgb(*panel);
    ASSERT_EQ(bar.size(), QSize(382, 42));
    const QRegion outside =
        QRegion(bar.rect()) - window->Word->geometry() - window->WordButton->geometry();
    for (const QRect &r : outside)
        for (int x = r.left(); x <= r.right(); ++x)
            ASSERT_TRUE(sameBlock(bar, QRect(x, r.top(), 1, r.height()), column, {0, r.top()}));

    // The caption is drawn centred under the word box: without the box it shows there.
    window->Word->hide();
    const QImage uncovered = grabRgb(*panel);
    QRect caption;
    for (int y = 0; y < 42; ++y)
        for (int x = 0; x < 382; ++x)
            if (!window->WordButton->geometry().contains(x, y) &&
                uncovered.pixel(x, y) != (column.pixel(0, y) | 0xFF000000u))
                caption |= QRect(x, y, 1, 1);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_TRUE(window->Word->geometry().contains(caption)) << caption.x() << "," << caption.y();
    EXPECT_LE(std::abs(caption.center().x() - 191), 2);
}

} // namespace
} // namespace mirel
