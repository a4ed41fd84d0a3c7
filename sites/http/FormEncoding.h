#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// An application/x-www-form-urlencoded body, fields in the order given: every byte but
// A-Z a-z 0-9 - . _ ~ is sent as %XX (a blank as %20).
std::string formBody(const std::vector<std::pair<std::string_view, std::string_view>> &fields);
std::string percentEncoded(std::string_view bytes);

} // namespace mirel::siteserver
