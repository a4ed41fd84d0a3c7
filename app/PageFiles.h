#pragma once

#include "dictionary/WebFolder.h"

namespace mirel {

// The web folder's files as compiled into the program: resource "TRANSLATE" of type
// "MYHTML", "LINE" and "SOUND" of type "PIC". Throws EResNotFound for a missing one.
PageFileContents pageFileResources();

} // namespace mirel
