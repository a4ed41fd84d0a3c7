#include "replica/ReplicaContext.h"

namespace mirel::replica {

void badRequest(httplib::Response &res, const std::string &reason)
{
    res.status = 400;
    res.set_content(reason + "\n", "text/plain; charset=utf-8");
}

std::string sessionNote(const Sessions &sessions, const Sessions::Visit &visit)
{
    return sessions.cookieName() + " " + visit.id + ", request " + std::to_string(visit.request);
}

} // namespace mirel::replica
