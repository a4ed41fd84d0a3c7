#include "resources/Pictures.h"
#include "resources/Resources.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <set>

namespace mirel {
namespace {

QImage picture(const QString &path)
{
    initResources();
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

TEST(WebFolderPictures, LineGifHasTheRuleAndTheMark)
{
    const QImage line = picture(QStringLiteral(":/PIC/LINE"));
    ASSERT_EQ(line.size(), QSize(347, 15));
    QRect mark;
    for (int y = 0; y < line.height(); ++y) {
        for (int x = 0; x < line.width(); ++x) {
            const QRgb pixel = line.pixel(x, y);
            if (y == 14) {
                ASSERT_EQ(pixel, qRgb(0xD7, 0xE1, 0xEF)) << x;
            } else if (qAlpha(pixel) != 0) {
                ASSERT_EQ(pixel, qRgb(0x9E, 0xBA, 0xE4)) << x << "," << y;
                mark |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_EQ(mark, QRect(QPoint(333, 1), QPoint(341, 6)));
}

TEST(WebFolderPictures, SoundGifIsAGreenSpeakerWithBlueWaves)
{
    const QImage sound = picture(QStringLiteral(":/PIC/SOUND"));
    ASSERT_EQ(sound.size(), QSize(13, 10));
    int transparent = 0, waves = 0, green = 0;
    for (int y = 0; y < sound.height(); ++y) {
        for (int x = 0; x < sound.width(); ++x) {
            const QRgb p = sound.pixel(x, y);
            if (qAlpha(p) == 0) {
                ++transparent;
            } else if (p == qRgb(0x72, 0x72, 0xFF)) {
                ++waves;
            } else {
                // between #18B301 and #CFF900, channel by channel
                EXPECT_TRUE(qRed(p) >= 0x18 && qRed(p) <= 0xCF && qGreen(p) >= 0xB3 &&
                            qGreen(p) <= 0xF9 && qBlue(p) <= 0x01)
                    << x << "," << y << " " << std::hex << p;
                ++green;
            }
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_GT(waves, 0);
    EXPECT_GT(green, 0);
}

TEST(WindowPictures, SizesAsTheWindowDrawsThem)
{
    initResources();
    const auto face = [](const char *button, const char *state) {
        return QString::fromLatin1(pictures::ButtonFacePattern)
            .arg(QLatin1String(button), QLatin1String(state));
    };
    EXPECT_EQ(QImage(QLatin1String(pictures::TopPanel)).size(), QSize(386, 56));
    EXPECT_EQ(QImage(QLatin1String(pictures::WordPanel)).size(), QSize(1, 42));
    EXPECT_EQ(QImage(QLatin1String(pictures::TranslateLine)).size(), QSize(368, 15));
    for (const char *button : {"Button_Word", "Button_Translate"})
        for (const char *state : {"Normal", "Enter", "Down", "Disable", "Check"})
            EXPECT_EQ(QImage(face(button, state)).size(), QSize(58, 22)) << button << state;
    for (const char *state : {"Normal", "Enter", "Down", "Disable"})
        EXPECT_EQ(QImage(face("Button_Web", state)).size(), QSize(80, 22)) << state;

    QImageReader swap(QLatin1String(pictures::TranslateICO));
    EXPECT_EQ(swap.format(), QByteArray("jpeg"));
    EXPECT_EQ(swap.size(), QSize(10, 11));
}

TEST(WindowPictures, TopBarIs24BitsPerPixel)
{
    initResources();
    QFile bmp(QLatin1String(pictures::TopPanel));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray header = bmp.read(30);
    ASSERT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(quint8(header[28]) | quint8(header[29]) << 8, 24);
}

TEST(WindowPictures, IconHas48And32And16PixelImages)
{
    initResources();
    QImageReader reader(QLatin1String(pictures::WindowIcon));
    std::set<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        EXPECT_EQ(image.width(), image.height());
        EXPECT_TRUE(image.hasAlphaChannel());
        sizes.insert(image.width());
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

} // namespace
} // namespace mirel
