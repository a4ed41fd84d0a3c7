#include "controls/StretchPicture.h"

#include <QPainter>

namespace mirel {

namespace {

// Scales one column of `src` over x a..b (b - a columns) of `dst`; nothing when b <= a.
void stretchColumn(QPainter &dst, const QImage &src, int column, int a, int b)
{
    if (b <= a || column < 0 || column >= src.width())
        return;
    dst.drawImage(QRect(a, 0, b - a, src.height()), src, QRect(column, 0, 1, src.height()));
}

// Scales one row of `src` over y a..b (b - a rows) of `dst`; nothing when b <= a.
void stretchRow(QPainter &dst, const QImage &src, int row, int a, int b)
{
    if (b <= a || row < 0 || row >= src.height())
        return;
    dst.drawImage(QRect(0, a, src.width(), b - a), src, QRect(0, row, src.width(), 1));
}

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Fits the picture's width to w; the height stays the picture's.
QImage horizontalPass(const QImage &g, int w, THorzStretchType horz)
{
    const int gw = g.width();
    const int d = w - gw;
    QImage b1 = whiteImage(w, g.height());
    if (b1.isNull())
        return b1;
    QPainter p(&b1);
    switch (horz) {
    case hstNone:
        p.drawImage(0, 0, g);
        break;
    case hstAll:
        p.drawImage(QRect(0, 0, w, g.height()), g);
        break;
    case hstLeft:
        stretchColumn(p, g, 0, 0, d);
        p.drawImage(d, 0, g);
        break;
    case hstMiddle: {
        const int half = gw / 2;
        p.drawImage(0, 0, g, 0, 0, half, g.height());
        stretchColumn(p, g, half, half, half + d);
        p.drawImage(w - (gw - half), 0, g, half, 0, gw - half, g.height());
        break;
    }
    case hstRight:
        p.drawImage(0, 0, g);
        stretchColumn(p, g, gw - 1, gw, w);
        break;
    }
    return b1;
}

// Fits the height of the horizontally fitted picture to h.
QImage verticalPass(const QImage &b1, int w, int h, TVertStretchType vert)
{
    const int gh = b1.height();
    const int e = h - gh;
    QImage b3 = whiteImage(w, h);
    if (b1.isNull())
        return b3;
    QPainter p(&b3);
    switch (vert) {
    case vstNone:
        p.drawImage(0, 0, b1);
        break;
    case vstAll:
        p.drawImage(QRect(0, 0, w, h), b1);
        break;
    case vstTop:
        stretchRow(p, b1, 0, 0, e);
        p.drawImage(0, e, b1);
        break;
    case vstCenter: {
        const int half = gh / 2;
        p.drawImage(0, 0, b1, 0, 0, w, half);
        stretchRow(p, b1, half, half, half + e);
        p.drawImage(0, h - (gh - half), b1, 0, half, w, gh - half);
        break;
    }
    case vstBottom:
        p.drawImage(0, 0, b1);
        stretchRow(p, b1, gh - 1, gh, h);
        break;
    }
    return b3;
}

} // namespace

void DrawStretchPicture(const QImage &source, QPainter &target, int w, int h, THorzStretchType horz,
                        TVertStretchType vert)
{
    if (w <= 0 || h <= 0)
        return;
    target.save();
    target.setRenderHint(QPainter::SmoothPixmapTransform, false);
    target.setClipRect(QRect(0, 0, w, h), Qt::IntersectClip);
    if (horz == hstNone && vert == vstNone) {
        if (!source.isNull())
            target.drawImage(0, 0, source);
    } else {
        target.drawImage(0, 0, verticalPass(horizontalPass(source, w, horz), w, h, vert));
    }
    target.restore();
}

QImage StretchPicture(const QImage &source, int w, int h, THorzStretchType horz,
                      TVertStretchType vert, QColor background)
{
    QImage image(qMax(w, 0), qMax(h, 0), QImage::Format_ARGB32);
    image.fill(background);
    if (!image.isNull()) {
        QPainter p(&image);
        DrawStretchPicture(source, p, w, h, horz, vert);
    }
    return image;
}

} // namespace mirel
