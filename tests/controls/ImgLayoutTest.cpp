#include "controls/ImgLayout.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

struct LayoutCase
{
    const char *name;
    QSize control, picture, caption;
    TImgControlLayout layout;
    int spacing;
    TImgFaceState face;
    QPoint picturePos, captionPos;
};

class ImgLayoutRows : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(ImgLayoutRows, PlacesPictureAndCaption)
{
    const LayoutCase &c = GetParam();
    const ImgPlacement p = ImgLayout(c.control, c.picture, c.caption, c.layout, c.spacing, c.face,
                                     /*enterOffset=*/1, /*downOffset=*/3);
    EXPECT_EQ(p.picture, c.picturePos);
    EXPECT_EQ(p.caption, c.captionPos);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ImgLayout, ImgLayoutRows, testing::Values(
    // name                              control   picture   caption   layout        spacing  face       picture       caption
    LayoutCase{"LeftExample",            {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   2,       ifsNormal, {14, 2},      {32, 4}},
    LayoutCase{"RightPutsCaptionFirst",  {60, 20}, {16, 16}, {14, 12}, iclImgRight,  2,       ifsNormal, {30, 2},      {14, 4}},
    LayoutCase{"TopPictureOverCaption",  {40, 40}, {16, 16}, {14, 12}, iclImgTop,    2,       ifsNormal, {12, 5},      {13, 23}},
    LayoutCase{"BottomCaptionOverPicture", {40, 40}, {16, 16}, {14, 12}, iclImgBottom, 2,     ifsNormal, {12, 19},     {13, 5}},
    LayoutCase{"CenterOverlapsNoGap",    {40, 40}, {16, 16}, {14, 12}, iclImgCenter, 2,       ifsNormal, {12, 12},     {13, 14}},
    LayoutCase{"NoCaptionNoGap",         {60, 20}, {16, 16}, {0, 0},   iclImgLeft,   2,       ifsNormal, {22, 2},      {38, 10}},
    LayoutCase{"ControlSizedPicture",    {58, 22}, {58, 22}, {0, 0},   iclImgTop,    2,       ifsNormal, {0, 0},       {29, 22}},
    LayoutCase{"OnlyLow16BitsOfSpacing", {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   0x10002, ifsNormal, {14, 2},      {32, 4}},
    LayoutCase{"NegativeSpacingIsLarge", {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   -1,      ifsNormal, {-32752, 2},  {32799, 4}},
    LayoutCase{"HalvesTruncateToZero",   {10, 10}, {17, 17}, {0, 0},   iclImgTop,    2,       ifsNormal, {-3, -3},     {5, 14}},
    LayoutCase{"EnterMovesUpLeft",       {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   2,       ifsEnter,  {13, 1},      {31, 3}},
    LayoutCase{"DownMovesDownRight",     {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   2,       ifsDown,   {17, 5},      {35, 7}},
    LayoutCase{"CheckDoesNotMove",       {60, 20}, {16, 16}, {14, 12}, iclImgLeft,   2,       ifsCheck,  {14, 2},      {32, 4}}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });
// clang-format on

} // namespace
} // namespace mirel
