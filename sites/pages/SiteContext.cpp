#include "sites/pages/SiteContext.h"

namespace mirel::siteserver {

void badRequest(httplib::Response &res, const std::string &reason)
{
    failWith(res, 400, reason);
}

void failWith(httplib::Response &res, int status, const std::string &reason)
{
    res.status = status;
    res.set_content(reason + "\n", "text/plain; charset=utf-8");
}

std::string sessionNote(const Sessions &sessions, const Sessions::Visit &visit)
{
    return sessions.cookieName() + " " + visit.id + ", request " + std::to_string(visit.request);
}

} // namespace mirel::siteserver
