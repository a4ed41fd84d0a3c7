#pragma once

#include <cstdint>

#if defined(MIREL_UPDATE_LIBRARY)
#define MIREL_UPDATE_EXPORT __attribute__((visibility("default")))
#else
#define MIREL_UPDATE_EXPORT
#endif

extern "C" {

// Checks the vendor's update list at the address (a zero-terminated 8-bit string) and, when
// it names a newer version, asks the user (in a box owned by the window with the given
// native handle) whether to open the download page. Returns when done; never throws.
MIREL_UPDATE_EXPORT void DoUpdate(std::uintptr_t windowHandle, const char *address);
}
