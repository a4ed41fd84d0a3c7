#pragma once

#include "dictionary/WebFolder.h"

namespace mirel {

// The page files of the web folder, each written from its resource with SaveResourceToFile:
// "Translate.html" from "TRANSLATE" of type "MYHTML", "Line.gif" from "LINE" and
// "sound.gif" from "SOUND" of type "PIC". The first failure throws (EResNotFound,
// EFCreateError) and stops.

// Writes all three, replacing what is there.
void writePageFiles(const WebFolder &folder);
// Creates the folder when missing and writes each of the three files that does not exist,
// in the order template, rule picture, sound picture; an existing file is never touched.
void writeMissingPageFiles(const WebFolder &folder);

} // namespace mirel
