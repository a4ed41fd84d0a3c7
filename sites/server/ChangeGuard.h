#pragma once

#include <httplib.h>

#include <string>

namespace mirel::siteserver {

// Why a request that would change the server's settings is refused before its body is
// read, or nothing: it must be a form post (application/x-www-form-urlencoded) to the
// server's own Host from a page of the server itself (its Origin, or without one its
// Referer; a post with neither is refused).
std::string changeRefusal(const httplib::Request &request, int port);

} // namespace mirel::siteserver
