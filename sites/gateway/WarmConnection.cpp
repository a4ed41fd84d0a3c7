#include "sites/gateway/WarmConnection.h"

namespace mirel::siteserver {

std::optional<Translation> warmConnection(const HttpConnections &connections,
                                          std::string_view service, Clock::time_point deadline)
{
    const HttpReply reply = connections.warm(deadline);
    if (reply.failure != HttpReply::Failure::None)
        return Translation::noAnswer(std::string(service) + ": " + reply.detail);
    return std::nullopt;
}

} // namespace mirel::siteserver
