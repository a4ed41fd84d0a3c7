#pragma once

#include "sites/pages/SettingsDesk.h"

#include <httplib.h>

namespace mirel::siteserver {

// GET /settings, and the posts that save (/settings) and try (/settings/try) a form of
// it. A post is refused with 403 before its body is read unless changeRefusal lets it
// through, and after it unless it carries the page's token; a refusal changes nothing and
// closes its connection. port: the server's, known once it is bound.
void addSettingsRoutes(httplib::Server &server, SettingsDesk &desk, const int &port);

} // namespace mirel::siteserver
