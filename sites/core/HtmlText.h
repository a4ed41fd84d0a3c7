#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Text for an element's content: & < > escaped.
std::string escapeHtml(std::string_view text);

// Text for a double-quoted attribute value: & < > " escaped.
std::string escapeAttribute(std::string_view text);

} // namespace mirel::siteserver

namespace mirel::siteserver {

// Text put into a page as it is, so that a reader who cuts it out between markers gets
// it back byte for byte; only where one of the markers would appear inside the text is
// the marker's first character written as a character reference ("&#60;" for "<"), so
// the cut still ends in the right place.
std::string withoutMarkers(std::string_view text, std::initializer_list<std::string_view> markers);

} // namespace mirel::siteserver
