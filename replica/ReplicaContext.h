#pragma once

#include "replica/Sessions.h"

#include <string>

namespace mirel::replica {

// What every handler needs to know about the running replica.
struct ReplicaContext
{
    std::string base; // "http://127.0.0.1:<port>", the home of every replicated site
    bool relayBusy = false;
    Sessions engineSessions{"MIREL_SESSION"};
    Sessions dictionarySessions{"OUTFOX_SEARCH_USER_ID"};
};

// Answers 400 with a one-line reason.
void badRequest(httplib::Response &res, const std::string &reason);

// "MIREL_SESSION 1a2b, request 3"
std::string sessionNote(const Sessions &sessions, const Sessions::Visit &visit);

} // namespace mirel::replica
