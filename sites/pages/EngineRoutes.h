#pragma once

#include "sites/pages/SiteContext.h"

namespace mirel::siteserver {

// POST handlers of the four translation engines: check the form as the real service
// needed it, translate through the glossary and answer with the engine's page.
void handleGoogle(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleRelay(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleYoudao(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleYahoo(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);

} // namespace mirel::siteserver
