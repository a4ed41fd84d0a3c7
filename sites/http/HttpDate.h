#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Seconds since 1970 of an HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT"); nothing for
// another form.
std::optional<int64_t> httpDateSeconds(std::string_view date);

// The UTC date of seconds since 1970, as "2019-02-25"; compact ("20190225") when asked.
std::string utcDate(int64_t seconds, bool compact = false);
// The UTC time of seconds since 1970, as "2019-02-25T08:04:25Z"; compact
// ("20190225T080425Z") when asked.
std::string utcTime(int64_t seconds, bool compact = false);

} // namespace mirel::siteserver
