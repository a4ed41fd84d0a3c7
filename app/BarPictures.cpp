#include "app/BarPictures.h"

#include "controls/TImgControl.h"
#include "resources/Pictures.h"

#include <QString>

namespace mirel {

QImage buttonFace(const char *button, const char *face)
{
    return QImage(QString::fromLatin1(pictures::ButtonFacePattern)
                      .arg(QLatin1String(button), QLatin1String(face)));
}

void setButtonFaces(TImgControl &button, const char *name, bool withCheckFace)
{
    button.setImgNormal(buttonFace(name, "Normal"));
    button.setImgEnter(buttonFace(name, "Enter"));
    button.setImgDown(buttonFace(name, "Down"));
    button.setImgDisable(buttonFace(name, "Disable"));
    if (withCheckFace)
        button.setImgCheck(buttonFace(name, "Check"));
}

} // namespace mirel
