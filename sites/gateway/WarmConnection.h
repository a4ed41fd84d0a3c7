#pragma once

#include "sites/gateway/Translation.h"
#include "sites/http/BoundedHttp.h"

#include <optional>
#include <string_view>

namespace mirel::siteserver {

// Opens a kept connection to the service (TranslationBackend::warm): the failure when it
// cannot be reached or answers 5xx, nothing when it answers.
std::optional<Translation> warmConnection(const HttpConnections &connections,
                                          std::string_view service, Clock::time_point deadline);

} // namespace mirel::siteserver
