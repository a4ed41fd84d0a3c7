#pragma once

#include "controls/TPaintPanel.h"

namespace mirel {

// The dictionary page's word bar (0, 0, 382, 42): its 1-pixel column stretched across the
// width, the caption "WordPanel" centred under the word box.
TPaintPanel *createWordPanel(QWidget *page);

} // namespace mirel
