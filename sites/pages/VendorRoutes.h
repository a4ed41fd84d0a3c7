#pragma once

#include "sites/pages/SiteContext.h"

namespace mirel::siteserver {

// The vendor site (ad page, vendor page, update list), text-to-speech and the index.
void handleAdPage(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleVendorPage(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleUpdateList(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleSpeech(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);
void handleIndex(const httplib::Request &req, httplib::Response &res, SiteContext &ctx);

} // namespace mirel::siteserver
