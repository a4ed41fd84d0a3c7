#pragma once

#include <string>
#include <string_view>

namespace mirel::sites {

// The vendor site's pages; base is the server's own address.
std::string adPage(std::string_view base);     // fits the 382 × 49 strip
std::string vendorPage(std::string_view base); // the page the top bar's button opens
std::string updateList(std::string_view base); // CR LF lines: [Mirel], Version=, Download=
std::string indexPage(std::string_view base);  // GET "/": what this server answers

} // namespace mirel::sites
