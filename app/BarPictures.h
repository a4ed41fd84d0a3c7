#pragma once

#include <QImage>

namespace mirel {

class TImgControl;

// The picture of one face of a top-bar button, for example ("Button_Web", "Enter").
QImage buttonFace(const char *button, const char *face);

// Gives the button its Normal, Enter, Down and Disable faces, and Check when asked.
void setButtonFaces(TImgControl &button, const char *name, bool withCheckFace);

} // namespace mirel
