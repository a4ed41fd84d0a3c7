#include "PixelAsserts.h"
#include "controls/TImgButton.h"
#include "controls/TImgCheckButton.h"
#include "controls/TImgManager.h"
#include "controls/TPaintPanel.h"

#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>

namespace mirel {
namespace {

using test::allPixels;
using test::solidPicture;

constexpr QRgb kRed = 0xFFFF0000; // the parent
constexpr QRgb kNormal = 0xFF0000FF;
constexpr QRgb kEnter = 0xFF00FF00;
constexpr QRgb kDown = 0xFFFFFF00;
constexpr QRgb kDisable = 0xFF808080;
constexpr QRgb kCheck = 0xFFFF00FF;
constexpr QRgb kOther = 0xFF00FFFF;

const QRect kButtonRect(10, 10, 20, 10);

// Delivers the paints that update() asked for.
void paintPending()
{
    QCoreApplication::processEvents();
}

template <class Button> void giveFaces(Button &button)
{
    button.setImgNormal(solidPicture(20, 10, kNormal));
    button.setImgEnter(solidPicture(20, 10, kEnter));
    button.setImgDown(solidPicture(20, 10, kDown));
    button.setImgDisable(solidPicture(20, 10, kDisable));
}

// A shown red window; the mouse is driven through the window, as the platform would.
class Stage : public testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(120, 60);
        test::fillBackground(window, kRed);
        button = new TImgButton(&window);
        button->setGeometry(kButtonRect);
        giveFaces(*button);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        moveTo({100, 50});
    }
    void TearDown() override { QTest::mouseMove(window.windowHandle(), {110, 55}); }

    void moveTo(QPoint p) { QTest::mouseMove(window.windowHandle(), p); }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(window.windowHandle(), b, {}, p);
    }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(window.windowHandle(), b, {}, p);
    }
    QImage shot() { return test::grabRgb(window); }

    // The face drawn in the button's rectangle shifted by `offset`; the uncovered strip shows the
    // parent.
    testing::AssertionResult showsFace(QRgb face, int offset = 0)
    {
        const QImage image = shot();
        const QRect drawn = kButtonRect.translated(offset, offset) & kButtonRect;
        if (auto r = allPixels(image, drawn, face); !r)
            return r;
        for (int y = kButtonRect.top(); y <= kButtonRect.bottom(); ++y)
            for (int x = kButtonRect.left(); x <= kButtonRect.right(); ++x)
                if (!drawn.contains(x, y) && image.pixel(x, y) != kRed)
                    return testing::AssertionFailure() << "parent hidden at " << x << ", " << y;
        return testing::AssertionSuccess();
    }

    QWidget window;
    TImgButton *button = nullptr;
    const QPoint inside{20, 15};
    const QPoint outside{80, 40};
};

using ImgButtonMouse = Stage;

TEST_F(ImgButtonMouse, FaceFollowsTheMouseAndMovesByTheOffsets)
{
    QSignalSpy clicks(button, &TImgControl::OnClick);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(showsFace(kNormal));
    moveTo(inside);
    EXPECT_EQ(button->FaceState(), ifsEnter);
    EXPECT_TRUE(showsFace(kEnter, -1));
    press(inside);
    EXPECT_EQ(button->FaceState(), ifsDown);
    EXPECT_TRUE(button->Pressed());
    EXPECT_TRUE(showsFace(kDown, +1));
    release(inside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(showsFace(kEnter, -1));
    moveTo(outside);
    EXPECT_TRUE(showsFace(kNormal));
}

TEST_F(ImgButtonMouse, ZeroOffsetsKeepTheFaceInPlace)
{
    button->setOnEnterOffset(0);
    button->setOnDownOffset(0);
    moveTo(inside);
    EXPECT_TRUE(showsFace(kEnter));
    press(inside);
    EXPECT_TRUE(showsFace(kDown));
    release(inside);
}

TEST_F(ImgButtonMouse, DraggingOffAndReleasingGivesNoClick)
{
    QSignalSpy clicks(button, &TImgControl::OnClick);
    moveTo(inside);
    press(inside);
    moveTo(outside);
    EXPECT_EQ(button->FaceState(), ifsDown) << "the down face stays while the button is held";
    moveTo(inside);
    moveTo(outside);
    release(outside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button->FaceState(), ifsNormal);
    EXPECT_FALSE(button->Pressed());
}

TEST_F(ImgButtonMouse, ReleasingBackOverItClicksAndShowsEnter)
{
    QSignalSpy clicks(button, &TImgControl::OnClick);
    moveTo(inside);
    press(inside);
    moveTo(outside);
    moveTo(inside + QPoint(5, 2));
    release(inside + QPoint(5, 2));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button->FaceState(), ifsEnter);
}

TEST_F(ImgButtonMouse, EventsComeInOrder)
{
    std::vector<std::string> log;
    QObject::connect(button, &TImgControl::OnMouseDown, [&](Qt::MouseButton, QPoint) {
        log.push_back("down while face " + std::to_string(button->FaceState()));
    });
    QObject::connect(button, &TImgControl::OnClick, [&] {
        log.push_back("click while face " + std::to_string(button->FaceState()));
    });
    QObject::connect(button, &TImgControl::OnMouseUp, [&](Qt::MouseButton, QPoint) {
        log.push_back("up while face " + std::to_string(button->FaceState()));
    });
    moveTo(inside);
    press(inside);
    release(inside);
    EXPECT_EQ(log, (std::vector<std::string>{"down while face 1", "click while face 2",
                                             "up while face 2"}));
}

TEST_F(ImgButtonMouse, DoubleClickGivesOneClickAndOneDoubleClick)
{
    QSignalSpy clicks(button, &TImgControl::OnClick);
    QSignalSpy doubles(button, &TImgControl::OnDblClick);
    moveTo(inside);
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(button->FaceState(), ifsEnter);
}

TEST_F(ImgButtonMouse, DisabledShowsItsFaceIgnoresTheMouseAndComesBackNormal)
{
    QSignalSpy clicks(button, &TImgControl::OnClick);
    moveTo(inside);
    press(inside);
    button->setEnabled(false);
    EXPECT_EQ(button->FaceState(), ifsNormal);
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(showsFace(kDisable));
    release(inside);
    press(inside);
    release(inside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(showsFace(kDisable));
    button->setEnabled(true);
    EXPECT_TRUE(showsFace(kNormal));
}

TEST_F(ImgButtonMouse, EmptyFaceLetsTheParentShowThrough)
{
    button->hide();
    auto *check = new TImgCheckButton(&window);
    check->setGeometry(kButtonRect);
    giveFaces(*check);
    check->setCaption(QStringLiteral("Caption"));
    check->show();
    check->setChecked(true);
    EXPECT_TRUE(allPixels(shot(), kButtonRect, kRed)) << "no picture and no caption";
}

// Remembers the area of its last paint.
class RecordingParent : public QWidget
{
public:
    using QWidget::QWidget;
    QRect lastPainted;

protected:
    void paintEvent(QPaintEvent *event) override { lastPainted = event->rect(); }
};

TEST_F(ImgButtonMouse, AutoRepaintParentRepaintsTheWholeParentOnFaceChanges)
{
    auto *parent = new RecordingParent(&window);
    parent->setGeometry(0, 0, 60, 40);
    auto *b = new TImgButton(parent);
    b->setGeometry(kButtonRect);
    giveFaces(*b);
    parent->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !parent->lastPainted.isEmpty(); }));
    parent->lastPainted = {};
    moveTo(inside);
    paintPending();
    EXPECT_EQ(parent->lastPainted, kButtonRect) << "only what lies under the button";
    moveTo(outside);
    paintPending();
    b->setAutoRepaintParent(true);
    parent->lastPainted = {};
    moveTo(inside);
    paintPending();
    EXPECT_EQ(parent->lastPainted, parent->rect());
}

TEST_F(ImgButtonMouse, LayoutExamplePlacesPictureAndCaption)
{
    button->setGeometry(10, 10, 60, 20);
    button->setImgNormal(solidPicture(16, 16, kNormal));
    button->setImgButtonLayout(iclImgLeft);
    button->setCaption(QStringLiteral("ab"));
    const QFontMetrics metrics(button->font());
    const int tw = metrics.horizontalAdvance("ab"), th = metrics.height();
    const QPoint picture((60 - 16 - tw - 2) / 2, (20 - 16) / 2);
    const QImage image = shot();
    EXPECT_TRUE(allPixels(image, QRect(picture + QPoint(10, 10), QSize(16, 16)), kNormal));
    if (tw == 14 && th == 12) {
        EXPECT_EQ(picture, QPoint(14, 2));
    }
    // The caption is drawn right of the picture and nowhere else.
    const QRect captionCell(picture.x() + 16 + 2 + 10, (20 - th) / 2 + 10, tw, th);
    bool drawn = false;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 70; ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == kRed || p == kNormal)
                continue;
            drawn = true;
            ASSERT_TRUE(captionCell.adjusted(-1, -1, 1, 1).contains(x, y)) << x << ", " << y;
        }
    EXPECT_TRUE(drawn);
}

TEST_F(ImgButtonMouse, EqualSettingsRepaintNothing)
{
    window.repaint(); // flush pending updates
    int before = button->paintCount();
    button->setSpacing(button->Spacing());
    button->setImgButtonLayout(button->ImgButtonLayout());
    button->setCaption(button->Caption());
    paintPending();
    EXPECT_EQ(button->paintCount(), before);
    button->setSpacing(7);
    paintPending();
    EXPECT_EQ(button->paintCount(), before + 1);
    button->setImgButtonLayout(iclImgCenter);
    paintPending();
    EXPECT_EQ(button->paintCount(), before + 2);
}

TEST(ImgButtonFaces, OnlyNormalFillsTheOtherFacesWithLastingCopies)
{
    TImgButton b;
    b.resize(20, 10);
    const QImage first = solidPicture(20, 10, kNormal);
    b.setImgNormal(first);
    EXPECT_EQ(b.ImgEnter(), first);
    EXPECT_EQ(b.ImgDown(), first);
    EXPECT_EQ(b.ImgDisable(), first);
    EXPECT_TRUE(b.ImgCheck().isNull());
    b.setImgNormal(solidPicture(20, 10, kOther));
    EXPECT_EQ(b.ImgEnter(), first);
    b.setImgDown(QImage());
    EXPECT_EQ(b.ImgDown().pixel(0, 0), kOther) << "an emptied face takes the normal one again";
}

TEST(ImgButtonFaces, ManagerPicturesOverrideTheControlsOwnAsTheyChange)
{
    QWidget parent;
    parent.resize(40, 30);
    auto *b = new TImgButton(&parent);
    b->setGeometry(0, 0, 20, 10);
    b->setImgNormal(solidPicture(20, 10, kNormal));
    auto manager = std::make_unique<TImgManager>();
    manager->setImgNormal(solidPicture(20, 10, kOther));
    b->setImgManager(manager.get());
    EXPECT_TRUE(allPixels(test::grabRgb(parent), QRect(0, 0, 20, 10), kOther));
    manager->setImgNormal(solidPicture(20, 10, kCheck));
    EXPECT_TRUE(allPixels(test::grabRgb(parent), QRect(0, 0, 20, 10), kCheck));
    b->setImgNormal(solidPicture(20, 10, kNormal));
    EXPECT_TRUE(allPixels(test::grabRgb(parent), QRect(0, 0, 20, 10), kCheck));
    manager.reset();
    EXPECT_EQ(b->ImgManager(), nullptr);
    EXPECT_TRUE(allPixels(test::grabRgb(parent), QRect(0, 0, 20, 10), kCheck));
}

TEST(ImgButtonFaces, AutoSizeFollowsTheNormalPicture)
{
    TImgButton b;
    b.resize(50, 50);
    b.setImgNormal(solidPicture(16, 12, kNormal));
    EXPECT_EQ(b.size(), QSize(50, 50));
    b.setAutoSize(true);
    EXPECT_EQ(b.size(), QSize(16, 12));
    b.setImgNormal(solidPicture(30, 8, kNormal));
    EXPECT_EQ(b.size(), QSize(30, 8));
    // Only a change of value acts: switching it on again leaves a size set since.
    b.resize(50, 50);
    b.setAutoSize(true);
    EXPECT_EQ(b.size(), QSize(50, 50));
}

TEST(ImgButtonFaces, CheckPictureShowsFromTheNextRepaint)
{
    QWidget parent;
    parent.resize(40, 30);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    auto *b = new TImgCheckButton(&parent);
    b->setGeometry(0, 0, 20, 10);
    b->show();
    b->setImgCheck(solidPicture(20, 10, kCheck));
    b->setChecked(true);
    paintPending();
    const int before = b->paintCount();
    b->setImgCheck(solidPicture(20, 10, kOther));
    paintPending();
    EXPECT_EQ(b->paintCount(), before);
    EXPECT_TRUE(allPixels(test::grabRgb(parent), QRect(0, 0, 20, 10), kOther));
}

// Two check buttons of group 0 side by side in the red window.
class CheckGroups : public Stage
{
protected:
    void SetUp() override
    {
        Stage::SetUp();
        button->hide();
        first = makeCheck(&window, QRect(10, 10, 20, 10));
        second = makeCheck(&window, QRect(40, 10, 20, 10));
        first->setChecked(true);
    }
    static TImgCheckButton *makeCheck(QWidget *parent, const QRect &geometry)
    {
        auto *b = new TImgCheckButton(parent);
        b->setGeometry(geometry);
        giveFaces(*b);
        b->setImgCheck(solidPicture(20, 10, kCheck));
        b->show();
        return b;
    }
    void clickAt(QPoint p)
    {
        moveTo(p);
        press(p);
        release(p);
    }

    TImgCheckButton *first = nullptr;
    TImgCheckButton *second = nullptr;
};

TEST_F(CheckGroups, ClickFiresFirstThenChecksAndUnchecksThePartner)
{
    std::vector<std::string> log;
    QObject::connect(second, &TImgControl::OnClick, [&] {
        log.push_back(std::string("click: second ") + (second->Checked() ? "on" : "off") +
                      ", first " + (first->Checked() ? "on" : "off"));
    });
    clickAt({50, 15});
    EXPECT_EQ(log, std::vector<std::string>{"click: second off, first on"});
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(first->FaceState(), ifsNormal);
    const QImage image = shot();
    EXPECT_TRUE(allPixels(image, QRect(40, 10, 20, 10), kCheck));
    EXPECT_TRUE(allPixels(image, QRect(10, 10, 20, 10), kNormal));

    clickAt({50, 15});
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(second->Checked()) << "a click never unchecks";
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(allPixels(shot(), QRect(40, 10, 20, 10), kCheck));
}

TEST_F(CheckGroups, OnlySameGroupUnderTheSameParentIsUnchecked)
{
    second->setCheckGroup(1);
    second->setChecked(true);
    EXPECT_TRUE(first->Checked());

    QWidget elsewhere;
    auto *stranger = makeCheck(&elsewhere, QRect(0, 0, 20, 10));
    stranger->setChecked(true);
    EXPECT_TRUE(first->Checked());
    TImgCheckButton orphan;
    orphan.setChecked(true);
    EXPECT_TRUE(orphan.Checked()) << "no parent, no group to clear";

    first->setCheckGroup(1);
    EXPECT_TRUE(second->Checked()) << "the group counts from the next change of Checked";
    first->setChecked(false);
    EXPECT_FALSE(second->Checked()) << "unchecking also clears the group";
}

TEST_F(CheckGroups, EnablingACheckedButtonShowsItsNormalFace)
{
    first->setEnabled(false);
    EXPECT_TRUE(allPixels(shot(), QRect(10, 10, 20, 10), kDisable));
    first->setEnabled(true);
    EXPECT_TRUE(first->Checked());
    EXPECT_TRUE(allPixels(shot(), QRect(10, 10, 20, 10), kNormal));
    second->setChecked(true);
    first->setChecked(true);
    EXPECT_TRUE(allPixels(shot(), QRect(10, 10, 20, 10), kCheck));
}

} // namespace
} // namespace mirel
