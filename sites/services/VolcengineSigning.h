#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// Volcengine's OpenAPI signature (HMAC-SHA256, credential scope "<date>/<region>/<service>/
// request"): a request as signed, its headers lowercase and sorted by name.
struct VolcRequest
{
    std::string_view method;
    std::string_view path;
    std::string_view canonicalQuery; // names sorted, "Action=…&Version=…"
    std::vector<std::pair<std::string, std::string>> headers;
    std::string_view payload;
};

std::string volcCanonicalRequest(const VolcRequest &request);
// xDate as "20240619T071306Z"; the scope's date is its first eight characters.
std::string volcStringToSign(std::string_view xDate, std::string_view region,
                             std::string_view service, std::string_view canonicalRequest);
std::string volcSignature(std::string_view secretKey, std::string_view xDate,
                          std::string_view region, std::string_view service,
                          std::string_view stringToSign);
std::string volcAuthorization(std::string_view accessKey, std::string_view secretKey,
                              std::string_view xDate, std::string_view region,
                              std::string_view service, const VolcRequest &request);

} // namespace mirel::siteserver
