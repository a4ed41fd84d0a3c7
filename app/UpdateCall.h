#pragma once

#include <cstdint>
#include <functional>

namespace mirel {

// The update library's entry: the window's native handle and the update list's address
// (a zero-terminated 8-bit string). The window calls DoUpdate; tests put a recorder here.
using UpdateCall = std::function<void(std::uintptr_t windowHandle, const char *address)>;

} // namespace mirel
