#include "controls/ImgLayout.h"

namespace mirel {

ImgPlacement ImgLayout(QSize control, QSize picture, QSize caption, TImgControlLayout layout,
                       int spacing, TImgFaceState face, int enterOffset, int downOffset)
{
    const int w = control.width(), h = control.height();
    const int iw = picture.width(), ih = picture.height();
    const int tw = caption.width(), th = caption.height();
    const int gap = spacing & 0xFFFF;
    const bool hasCaption = tw != 0 || th != 0;

    int hs = 0, vs = 0;
    if (hasCaption) {
        if (layout == iclImgLeft || layout == iclImgRight)
            hs = gap;
        else if (layout == iclImgTop || layout == iclImgBottom)
            vs = gap;
    }

    ImgPlacement p;
    p.caption = QPoint((w - tw - hs) / 2, (h - th - vs) / 2);
    p.picture = QPoint((w - iw - hs) / 2, (h - ih - vs) / 2);

    switch (layout) {
    case iclImgLeft:
        p.picture.setX((w - iw - tw - hs) / 2);
        p.caption.setX(p.picture.x() + iw + hs);
        break;
    case iclImgRight:
        p.caption.setX((w - iw - tw - hs) / 2);
        p.picture.setX(p.caption.x() + tw + hs);
        break;
    case iclImgTop:
        p.picture.setY((h - ih - th - vs) / 2);
        p.caption.setY(p.picture.y() + ih + vs);
        break;
    case iclImgBottom:
        p.caption.setY((h - ih - th - vs) / 2);
        p.picture.setY(p.caption.y() + th + vs);
        break;
    case iclImgCenter:
        break;
    }

    QPoint shift;
    if (face == ifsEnter)
        shift = QPoint(-enterOffset, -enterOffset);
    else if (face == ifsDown)
        shift = QPoint(downOffset, downOffset);
    p.picture += shift;
    p.caption += shift;
    return p;
}

} // namespace mirel
