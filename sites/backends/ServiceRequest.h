#pragma once

#include "sites/backends/BoundedHttp.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::sites {

// A service's endpoint given by its full address ("https://host/api/translate"): where
// to connect, and the path every call goes to ("/" when the address has none).
struct ServiceEndpoint
{
    ServiceAddress service; // without a prefix
    std::string path;
};
std::optional<ServiceEndpoint> parseServiceEndpoint(std::string_view address);

// An application/x-www-form-urlencoded body, fields in the order given: every byte but
// A-Z a-z 0-9 - . _ ~ is sent as %XX (a blank as %20).
std::string formBody(const std::vector<std::pair<std::string_view, std::string_view>> &fields);
std::string percentEncoded(std::string_view bytes);

// A service's own words made fit for a log line or an error page: printable ASCII only
// (anything else becomes "?"), every secret given replaced by "***", at most 160 bytes.
std::string safeReason(std::string_view text, const std::vector<std::string_view> &secrets);

} // namespace mirel::sites
