#pragma once

#include <QPoint>
#include <QSize>

namespace mirel {

// Where an image control's picture sits relative to its caption.
enum TImgControlLayout { iclImgLeft, iclImgRight, iclImgTop, iclImgBottom, iclImgCenter };

// The face an image control shows (a disabled control shows its disabled picture instead).
enum TImgFaceState { ifsNormal, ifsEnter, ifsDown, ifsCheck };

struct ImgPlacement
{
    QPoint picture;
    QPoint caption;
};

// Places picture and caption in a control of `control` size. Only the low 16 bits of `spacing`
// count (as an unsigned value); every halving truncates toward zero. The enter face moves both
// up-left by `enterOffset`, the down face down-right by `downOffset`.
ImgPlacement ImgLayout(QSize control, QSize picture, QSize caption, TImgControlLayout layout,
                       int spacing, TImgFaceState face, int enterOffset, int downOffset);

} // namespace mirel
