#pragma once

namespace mirel {

// Names the running application (its data folder and window class), once a
// QApplication exists.
void setUpApplication();

} // namespace mirel
