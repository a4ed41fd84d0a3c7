#pragma once

#include "controls/TImgControl.h"

namespace mirel {

// The image push button: an image control as it is.
class TImgButton : public TImgControl
{
    Q_OBJECT
public:
    using TImgControl::TImgControl;
};

} // namespace mirel
