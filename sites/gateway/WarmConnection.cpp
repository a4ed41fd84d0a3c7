#include "sites/gateway/WarmConnection.h"

namespace mirel::siteserver {

std::optional<Translation> warmConnection(const HttpConnections &connections,
                                          std::string_view service, Clock::time_point deadline)
{
    const HttpReply reply = connections.warm(deadline);
    if (reply.failure != HttpReply::Failure::None)
        return Translation::noAnswer(std::string(service) + ": " + reply.detail);
    if (reply.status >= 500)
        return Translation::noAnswer(std::string(service) + " answered " +
                                     std::to_string(reply.status));
    return std::nullopt;
}

} // namespace mirel::siteserver
