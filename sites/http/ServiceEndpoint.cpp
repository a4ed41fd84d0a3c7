#include "sites/http/ServiceEndpoint.h"

namespace mirel::siteserver {

std::optional<ServiceEndpoint> parseServiceEndpoint(std::string_view address)
{
    auto service = parseServiceAddress(address);
    if (!service)
        return std::nullopt;
    ServiceEndpoint endpoint{std::move(*service), {}};
    endpoint.path = endpoint.service.prefix.empty() ? "/" : endpoint.service.prefix;
    if (address.ends_with('/') && !endpoint.path.ends_with('/'))
        endpoint.path += '/'; // the address as given: some endpoints end in "/"
    endpoint.service.prefix.clear();
    return endpoint;
}

} // namespace mirel::siteserver
