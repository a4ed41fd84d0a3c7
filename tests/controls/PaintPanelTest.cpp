#include "PixelAsserts.h"
#include "controls/TPaintPanel.h"

#include <QPainter>
#include <QStyle>

namespace mirel {
namespace {

using test::allPixels;
using test::gradientPicture;
using test::sameBlock;
using test::solidPicture;

constexpr QRgb kParentRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

// A red parent with one panel at (0, 0).
struct Host
{
    QWidget parent;
    TPaintPanel *panel;

    explicit Host(QSize panelSize)
    {
        parent.resize(panelSize + QSize(10, 10));
        test::fillBackground(parent, kParentRed);
        panel = new TPaintPanel(&parent);
        panel->setGeometry(QRect(QPoint(0, 0), panelSize));
    }
    QImage grab() { return test::grabRgb(parent); }
};

TEST(TPaintPanel, PaintsItsPictureByTheRules)
{
    Host host({50, 20});
    const QImage picture = gradientPicture(10, 20);
    host.panel->setPicture(picture);
    host.panel->setPicHorzStretch(hstRight);
    const QImage shot = host.grab();
    EXPECT_TRUE(sameBlock(shot, QRect(0, 0, 10, 20), picture, {0, 0}));
    for (int x = 10; x < 50; ++x)
        ASSERT_TRUE(sameBlock(shot, QRect(x, 0, 1, 20), picture, {9, 0})) << "column " << x;
}

TEST(TPaintPanel, WithAPictureNothingIsErasedOutsideIt)
{
    Host host({40, 30});
    host.panel->setColor(Qt::green);
    host.panel->setPicture(solidPicture(10, 10, kBlue));
    const QImage shot = host.grab();
    EXPECT_TRUE(allPixels(shot, QRect(0, 0, 10, 10), kBlue));
    EXPECT_TRUE(allPixels(shot, QRect(10, 0, 30, 30), kParentRed));
}

TEST(TPaintPanel, WithoutAPictureFillsColorUnlessParentBackground)
{
    Host host({40, 30});
    host.panel->setColor(Qt::green);
    EXPECT_TRUE(allPixels(host.grab(), QRect(0, 0, 40, 30), 0xFF00FF00));
    host.panel->setParentBackground(true);
    EXPECT_TRUE(allPixels(host.grab(), QRect(0, 0, 40, 30), kParentRed));
}

TEST(TPaintPanel, AutoSizeIsTakenOnlyWhileThereIsAPicture)
{
    TPaintPanel panel;
    panel.resize(100, 50);
    panel.setAutoWidth(true);
    panel.setAutoHeight(true);
    EXPECT_FALSE(panel.AutoWidth());
    EXPECT_FALSE(panel.AutoHeight());

    panel.setPicture(gradientPicture(30, 12));
    EXPECT_EQ(panel.size(), QSize(100, 50)) << "the earlier switch must not have been kept";

    panel.setAutoWidth(true);
    EXPECT_EQ(panel.size(), QSize(30, 50));
    panel.setAutoHeight(true);
    EXPECT_EQ(panel.size(), QSize(30, 12));

    panel.setPicture(gradientPicture(44, 7));
    EXPECT_EQ(panel.size(), QSize(44, 7));

    // Only a change of value acts: switching on again leaves a size set since.
    panel.resize(100, 50);
    panel.setAutoWidth(true);
    panel.setAutoHeight(true);
    EXPECT_EQ(panel.size(), QSize(100, 50));
    panel.setPicture(gradientPicture(44, 7));

    panel.setPicture(QImage());
    EXPECT_EQ(panel.size(), QSize(44, 7)) << "an empty picture leaves the size";
    panel.setAutoWidth(false);
    EXPECT_TRUE(panel.AutoWidth()) << "no picture: the switch cannot change";
}

TEST(TPaintPanel, CaptionIsDrawnOverThePictureWithATransparentBackground)
{
    Host host({80, 30});
    host.panel->setPicture(solidPicture(80, 30, kBlue));
    const QImage plain = host.grab();
    host.panel->setCaption(QStringLiteral("Mi"));
    const QImage withCaption = host.grab();

    const QFontMetrics metrics(host.panel->font());
    const QRect cell =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                            metrics.size(Qt::TextSingleLine, "Mi"), QRect(0, 0, 80, 30));
    int changed = 0, keptInCell = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool differs = withCaption.pixel(x, y) != plain.pixel(x, y);
            if (differs) {
                ++changed;
                EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(x, y))
                    << "text pixel outside its cell at " << x << ", " << y;
            } else if (cell.contains(x, y)) {
                ++keptInCell;
            }
        }
    EXPECT_GT(changed, 0) << "the caption was not drawn";
    EXPECT_GT(keptInCell, 0) << "the caption's background was filled";
}

struct BevelCase
{
    const char *name;
    int width;
    int band; // outline pixels inside the panel on each side
};

class PaintPanelBevel : public testing::TestWithParam<BevelCase>
{
};

TEST_P(PaintPanelBevel, OutlineCoversTheOuterPixels)
{
    const BevelCase &c = GetParam();
    Host host({30, 20});
    host.panel->setPicture(solidPicture(30, 20, kBlue));
    host.panel->setBevelStyle(bsSingle);
    host.panel->setBevelColor(Qt::green);
    host.panel->setBevelWidth(c.width);
    const QImage shot = host.grab();
    const QRgb green = 0xFF00FF00;
    EXPECT_TRUE(allPixels(shot, QRect(0, 0, 30, c.band), green));
    EXPECT_TRUE(allPixels(shot, QRect(0, 20 - c.band, 30, c.band), green));
    EXPECT_TRUE(allPixels(shot, QRect(0, 0, c.band, 20), green));
    EXPECT_TRUE(allPixels(shot, QRect(30 - c.band, 0, c.band, 20), green));
    EXPECT_TRUE(allPixels(shot, QRect(c.band, c.band, 30 - 2 * c.band, 20 - 2 * c.band), kBlue));
}

INSTANTIATE_TEST_SUITE_P(TPaintPanel, PaintPanelBevel,
                         testing::Values(BevelCase{"Width1", 1, 1}, BevelCase{"Width2", 2, 2},
                                         BevelCase{"Width3HalfOutside", 3, 2}),
                         [](const testing::TestParamInfo<BevelCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(TPaintPanel, OnPaintComesLastWithThePanelAsSender)
{
    Host host({30, 20});
    host.panel->setPicture(solidPicture(30, 20, kBlue));
    host.panel->setCaption(QStringLiteral("X"));
    host.panel->setBevelStyle(bsSingle);
    TPaintPanel *seen = nullptr;
    QObject::connect(host.panel, &TPaintPanel::OnPaint,
                     [&](TPaintPanel *sender, QPainter *painter) {
                         seen = sender;
                         painter->fillRect(QRect(0, 0, 30, 20), Qt::yellow);
                     });
    EXPECT_TRUE(allPixels(host.grab(), QRect(0, 0, 30, 20), 0xFFFFFF00));
    EXPECT_EQ(seen, host.panel);
}

} // namespace
} // namespace mirel
