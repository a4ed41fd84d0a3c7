#include "sites/http/ServiceEndpoint.h"

namespace mirel::siteserver {

std::optional<ServiceEndpoint> parseServiceEndpoint(std::string_view address)
{
    auto service = parseServiceAddress(address);
    if (!service)
        return std::nullopt;
    ServiceEndpoint endpoint{std::move(*service), {}};
    endpoint.path = endpoint.service.prefix.empty() ? "/" : endpoint.service.prefix;
    endpoint.service.prefix.clear();
    return endpoint;
}

} // namespace mirel::siteserver
