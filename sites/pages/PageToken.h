#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// Whether a given token is the expected one, in a time that does not depend on where
// they differ.
bool sameToken(std::string_view given, std::string_view expected);

// A fresh random token: 64 hex digits (256 bits from the kernel).
std::string freshToken();

} // namespace mirel::siteserver
