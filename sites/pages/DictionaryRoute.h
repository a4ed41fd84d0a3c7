#pragma once

#include "sites/pages/SiteContext.h"

namespace mirel::siteserver {

// GET "/search?tab=chn&keyfrom=dict.top&q=<word>&btnG=搜 索&r=<digit>": the word's page,
// or the not-found page.
void handleDictionary(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);

} // namespace mirel::siteserver
