#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Tencent Cloud API 3.0's signature (TC3-HMAC-SHA256) of a POST with a JSON body, signing
// the headers content-type, host and x-tc-action.
struct Tc3Request
{
    std::string_view contentType;
    std::string_view host;   // as the Host header carries it
    std::string_view action; // "TextTranslate"
    std::string_view payload;
};

std::string tc3CanonicalRequest(const Tc3Request &request);
// The credential scope: "<UTC date of the timestamp>/<service>/tc3_request".
std::string tc3Scope(int64_t timestamp, std::string_view service);
std::string tc3StringToSign(int64_t timestamp, std::string_view service,
                            std::string_view canonicalRequest);
// 64 lowercase hex digits.
std::string tc3Signature(std::string_view secretKey, int64_t timestamp, std::string_view service,
                         std::string_view stringToSign);
// The Authorization header of a request.
std::string tc3Authorization(std::string_view secretId, std::string_view secretKey,
                             int64_t timestamp, std::string_view service,
                             const Tc3Request &request);

} // namespace mirel::siteserver
