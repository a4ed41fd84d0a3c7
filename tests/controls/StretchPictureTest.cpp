#include "controls/StretchPicture.h"
#include "PixelAsserts.h"

#include <QPainter>

#include <functional>

namespace mirel {
namespace {

using test::gradientPicture;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kSentinel = 0xFF123456;

// Which source column (row) lands on a target column (row); -1 for the white filler.
using AxisMap = std::function<int(int)>;

struct FitCase
{
    const char *name;
    QSize picture;
    QSize target;
    THorzStretchType horz;
    TVertStretchType vert;
    AxisMap column;
    AxisMap row;
};

const AxisMap same = [](int v) { return v; };

class StretchRules : public testing::TestWithParam<FitCase>
{
};

TEST_P(StretchRules, EveryPixelComesFromTheExpectedSourcePixel)
{
    const FitCase &c = GetParam();
    const QImage source = gradientPicture(c.picture.width(), c.picture.height());
    const QImage out =
        StretchPicture(source, c.target.width(), c.target.height(), c.horz, c.vert, kSentinel);
    ASSERT_EQ(out.size(), c.target);
    for (int y = 0; y < c.target.height(); ++y)
        for (int x = 0; x < c.target.width(); ++x) {
            const int sx = c.column(x), sy = c.row(y);
            const QRgb expected = (sx < 0 || sy < 0) ? kWhite : source.pixel(sx, sy);
            ASSERT_EQ(out.pixel(x, y), expected) << "at (" << x << ", " << y << ")";
        }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(DrawStretchPicture, StretchRules, testing::Values(
    FitCase{"RightRepeatsLastColumn", {10, 20}, {50, 20}, hstRight, vstNone,
            [](int x) { return x < 10 ? x : 9; }, same},
    FitCase{"LeftRepeatsFirstColumn", {10, 20}, {50, 20}, hstLeft, vstNone,
            [](int x) { return x >= 40 ? x - 40 : 0; }, same},
    FitCase{"MiddleRepeatsHalfWayColumn", {10, 20}, {50, 20}, hstMiddle, vstNone,
            [](int x) { return x < 5 ? x : x < 45 ? 5 : x - 40; }, same},
    FitCase{"MiddleOddWidthKeepsLongerRightHalf", {9, 20}, {50, 20}, hstMiddle, vstNone,
            [](int x) { return x < 4 ? x : x < 45 ? 4 : x - 41; }, same},
    FitCase{"NoneLeavesWhiteOnTheRight", {10, 20}, {50, 20}, hstNone, vstAll,
            [](int x) { return x < 10 ? x : -1; }, same},
    FitCase{"BottomRepeatsLastRow", {10, 20}, {10, 50}, hstNone, vstBottom,
            same, [](int y) { return y < 20 ? y : 19; }},
    FitCase{"TopRepeatsFirstRow", {10, 20}, {10, 50}, hstNone, vstTop,
            same, [](int y) { return y >= 30 ? y - 30 : 0; }},
    FitCase{"CenterRepeatsHalfWayRow", {10, 20}, {10, 50}, hstNone, vstCenter,
            same, [](int y) { return y < 10 ? y : y < 40 ? 10 : y - 30; }},
    FitCase{"NoneLeavesWhiteBelow", {10, 20}, {30, 35}, hstAll, vstNone,
            [](int x) { return x / 3 < 10 ? x / 3 : 9; }, [](int y) { return y < 20 ? y : -1; }},
    FitCase{"LeftAndCenterTogether", {10, 20}, {25, 31}, hstLeft, vstCenter,
            [](int x) { return x >= 15 ? x - 15 : 0; },
            [](int y) { return y < 10 ? y : y < 21 ? 10 : y - 11; }},
    FitCase{"LeftCutsLeadingColumns", {20, 10}, {12, 10}, hstLeft, vstBottom,
            [](int x) { return x + 8; }, same},
    FitCase{"MiddleOverlapsSecondHalfWhenCut", {20, 10}, {12, 10}, hstMiddle, vstBottom,
            [](int x) { return x < 2 ? x : x + 8; }, same},
    FitCase{"TopCutsLeadingRows", {10, 20}, {10, 12}, hstRight, vstTop,
            same, [](int y) { return y + 8; }},
    FitCase{"CenterOverlapsSecondHalfWhenCut", {10, 20}, {10, 12}, hstRight, vstCenter,
            same, [](int y) { return y < 2 ? y : y + 8; }},
    FitCase{"TopBarShowsColumns4To385", {386, 56}, {382, 33}, hstLeft, vstNone,
            [](int x) { return x + 4; }, same},
    FitCase{"WordBarStretchesItsColumn", {1, 42}, {374, 42}, hstRight, vstNone,
            [](int) { return 0; }, same}),
    [](const testing::TestParamInfo<FitCase> &info) { return std::string(info.param.name); });
// clang-format on

TEST(DrawStretchPicture, AllScalesTheWholePicture)
{
    const QImage source = gradientPicture(10, 20);
    const QImage out = StretchPicture(source, 50, 40, hstAll, vstAll);
    EXPECT_EQ(out.pixel(0, 0), source.pixel(0, 0));
    EXPECT_EQ(out.pixel(49, 39), source.pixel(9, 19));
    EXPECT_EQ(out.pixel(49, 0), source.pixel(9, 0));
    EXPECT_EQ(out.pixel(0, 39), source.pixel(0, 19));
}

TEST(DrawStretchPicture, BothNoneLeavesTheRestOfTheTargetUnpainted)
{
    const QImage source = gradientPicture(10, 20);
    const QImage out = StretchPicture(source, 50, 40, hstNone, vstNone, kSentinel);
    EXPECT_TRUE(test::sameBlock(out, QRect(0, 0, 10, 20), source, QPoint(0, 0)));
    EXPECT_TRUE(test::allPixels(out, QRect(10, 0, 40, 40), kSentinel));
    EXPECT_TRUE(test::allPixels(out, QRect(0, 20, 10, 20), kSentinel));
}

TEST(DrawStretchPicture, DrawsOnlyInsideTheGivenRectangle)
{
    QImage target(30, 30, QImage::Format_RGB32);
    target.fill(kSentinel);
    {
        QPainter painter(&target);
        DrawStretchPicture(gradientPicture(20, 20), painter, 10, 12, hstNone, vstNone);
        DrawStretchPicture(gradientPicture(20, 20), painter, 10, 12, hstNone, vstTop);
    }
    EXPECT_TRUE(test::allPixels(target, QRect(10, 0, 20, 30), kSentinel));
    EXPECT_TRUE(test::allPixels(target, QRect(0, 12, 10, 18), kSentinel));
}

TEST(DrawStretchPicture, EmptyPictureWithARuleGivesWhite)
{
    const QImage out = StretchPicture(QImage(), 8, 6, hstRight, vstNone, kSentinel);
    EXPECT_TRUE(test::allPixels(out, out.rect(), kWhite));
}

} // namespace
} // namespace mirel
