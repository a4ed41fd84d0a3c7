#pragma once

#include <QColor>
#include <QImage>

class QPainter;

namespace mirel {

// How a picture is fitted to a wider (or narrower) target.
enum THorzStretchType {
    hstNone = 0,   // at the left edge, not stretched
    hstAll = 1,    // whole picture scaled to the width
    hstLeft = 2,   // against the right edge, first column stretched over the gap on its left
    hstMiddle = 3, // halves at both edges, the middle column stretched between them
    hstRight = 4,  // at the left edge, last column stretched over the gap on its right
};

// How a picture is fitted to a taller (or shorter) target.
enum TVertStretchType {
    vstNone = 0,
    vstAll = 1,
    vstTop = 2,
    vstCenter = 3,
    vstBottom = 4,
};

// Draws `source` fitted into the rectangle (0, 0, w, h) of `target`. When both rules are none
// the picture is drawn as it is and nothing else is painted; otherwise the whole rectangle is
// painted, white where the rules leave gaps. No scaling filter is used for the stretched rows
// and columns, so they repeat their pixels exactly.
void DrawStretchPicture(const QImage &source, QPainter &target, int w, int h, THorzStretchType horz,
                        TVertStretchType vert);

// The same into a new w x h image that starts filled with `background`.
QImage StretchPicture(const QImage &source, int w, int h, THorzStretchType horz,
                      TVertStretchType vert, QColor background = Qt::transparent);

} // namespace mirel
