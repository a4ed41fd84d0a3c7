#pragma once

namespace mirel {

// Marks every file the process inherited beyond standard input, output and error
// close-on-exec, and returns how many: a lock the launcher passed on stays held by this
// process and is not handed to the programs it starts (a browser would hold it for hours).
int keepInheritedFilesFromChildren();

} // namespace mirel
