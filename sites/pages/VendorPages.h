#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// The vendor site's pages; base is the server's own address.
std::string adPage(std::string_view base); // fits the 382 × 49 strip
// The page the top bar's button opens, with the status section (statusSection) in it.
std::string vendorPage(std::string_view base, std::string_view status);
std::string updateList(std::string_view base); // CR LF lines: [Mirel], Version=, Download=
// GET "/": the status section and the addresses this server answers.
std::string indexPage(std::string_view base, std::string_view status);

} // namespace mirel::siteserver
