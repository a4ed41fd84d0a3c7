#pragma once

namespace mirel {

// Switches the web engine's GPU use off (and its sandbox when running as root), keeping
// flags already given in QTWEBENGINE_CHROMIUM_FLAGS. Call before the application object
// is created.
void prepareWebEngine();

} // namespace mirel
