#pragma once

#include "sites/http/BoundedHttp.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// A service's endpoint given by its full address ("https://host/api/translate"): where
// to connect, and the path every call goes to ("/" when the address has none; a final
// "/" kept).
struct ServiceEndpoint
{
    ServiceAddress service; // without a prefix
    std::string path;
};
std::optional<ServiceEndpoint> parseServiceEndpoint(std::string_view address);

} // namespace mirel::siteserver
