#pragma once

#include <string_view>

namespace mirel::siteserver {

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

} // namespace mirel::siteserver
