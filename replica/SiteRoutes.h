#pragma once

#include "replica/ReplicaContext.h"

namespace mirel::replica {

// The vendor site (ad page, vendor page, update list), text-to-speech and the index.
void handleAdPage(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleVendorPage(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleUpdateList(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleSpeech(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleIndex(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);

} // namespace mirel::replica
