#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace mirel::test {

// A picture whose every pixel has its own colour: red = x * 8, green = y * 8, blue = `tag`.
inline QImage gradientPicture(int w, int h, int tag = 0x40)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 8) & 0xFF, (y * 8) & 0xFF, tag));
    return image;
}

// What the widget and its children paint, as opaque pixels.
inline QImage grabRgb(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Gives the widget a background of one colour.
inline void fillBackground(QWidget &widget, QRgb color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(color));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

inline QImage solidPicture(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Every pixel of `region` in `actual` equals the pixel of `expected` at the same offset from
// `from`.
inline testing::AssertionResult sameBlock(const QImage &actual, const QRect &region,
                                          const QImage &expected, QPoint from)
{
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb a = actual.pixel(x, y) | 0xFF000000u;
            const QRgb e =
                expected.pixel(from.x() + x - region.left(), from.y() + y - region.top()) |
                0xFF000000u;
            if (a != e)
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is "
                       << QString::number(a, 16).toStdString() << ", expected "
                       << QString::number(e, 16).toStdString();
        }
    return testing::AssertionSuccess();
}

// Every pixel of `region` has the colour `color`.
inline testing::AssertionResult allPixels(const QImage &actual, const QRect &region, QRgb color)
{
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (actual.pixel(x, y) != color)
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is "
                       << QString::number(actual.pixel(x, y), 16).toStdString() << ", expected "
                       << QString::number(color, 16).toStdString();
    return testing::AssertionSuccess();
}

} // namespace mirel::test
