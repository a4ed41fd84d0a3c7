#pragma once

#include "sites/gateway/Translation.h"
#include "sites/http/BoundedHttp.h"

#include <optional>
#include <string_view>

namespace mirel::siteserver {

// Tries a connection to the service (TranslationBackend::warm): the failure when it cannot
// be reached, nothing when it can.
std::optional<Translation> warmConnection(const HttpConnections &connections,
                                          std::string_view service, Clock::time_point deadline);

} // namespace mirel::siteserver
