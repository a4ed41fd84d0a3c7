#pragma once

#include <httplib.h>

#include <string>
#include <string_view>

namespace mirel::siteserver {

// Whether a Host header names this server: 127.0.0.1 or localhost (any case) with its port,
// or without one when the port is 80.
bool isOwnHost(std::string_view host, int port);

// Whether an Origin header is this server's own: http://127.0.0.1:<port> or
// http://localhost:<port> (without the port when it is 80).
bool isOwnOrigin(std::string_view origin, int port);

// Why a request to the server on `port` is refused, or nothing to serve it: a Host that is
// not the server's own (a page that reached it by DNS rebinding), an Origin that is not its
// own (a page elsewhere posting a form), or a connection from a process of another user.
std::string refusal(const httplib::Request &request, int port);

} // namespace mirel::siteserver
