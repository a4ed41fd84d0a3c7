#pragma once

#include <string>
#include <string_view>

namespace mirel::replica {

// Text for an element's content: & < > escaped.
std::string escapeHtml(std::string_view text);

// Text for a double-quoted attribute value: & < > " escaped.
std::string escapeAttribute(std::string_view text);

} // namespace mirel::replica
