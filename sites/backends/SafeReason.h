#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace mirel::sites {

// A service's own error message made fit for the log and an error page: every secret
// given is cut out, other characters than printable ASCII become '?', and the text is
// cut to at most 120 characters. "no details" for an empty message.
std::string safeReason(std::string_view message, std::initializer_list<std::string_view> secrets);

} // namespace mirel::sites
