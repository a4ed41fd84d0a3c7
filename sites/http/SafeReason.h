#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// A service's own words made fit for a log line or an error page: every secret given is
// replaced by "***", anything but printable ASCII becomes "?" (one for a whole UTF-8
// sequence), and the text is cut to at most 160 characters. "no details" for an empty text.
std::string safeReason(std::string_view text, const std::vector<std::string_view> &secrets);

} // namespace mirel::siteserver
