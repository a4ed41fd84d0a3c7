#pragma once

#include "replica/ReplicaContext.h"

namespace mirel::replica {

// POST handlers of the four translation engines: check the form as the real service
// needed it, translate through the glossary and answer with the engine's page.
void handleGoogle(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleRelay(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleYoudao(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);
void handleYahoo(const httplib::Request &req, httplib::Response &res, ReplicaContext &ctx);

} // namespace mirel::replica
