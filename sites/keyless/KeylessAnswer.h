#pragma once

#include "sites/gateway/JsonAnswer.h"

#include <string_view>

namespace mirel::siteserver {

// The JSON of a keyless web endpoint's answer, or the failure to report: no answer,
// 429 and 5xx are 503, and so is a web page (the vendor's captcha or block page) where
// JSON belongs, and a redirect (to one); an empty or malformed body is 502.
JsonAnswer readKeylessAnswer(const HttpReply &reply, std::string_view service);

// Whether a translation is the passage given back whole: a passage of more than 20
// characters that comes back unchanged was not translated (the vendor's way of refusing).
bool echoedBack(std::string_view source, std::string_view translation);

} // namespace mirel::siteserver
