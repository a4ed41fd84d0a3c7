#include "sites/services/TencentSigning.h"

#include "sites/http/Digest.h"
#include "sites/http/HttpDate.h"

namespace mirel::siteserver {
namespace {

constexpr std::string_view kSignedHeaders = "content-type;host;x-tc-action";

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

} // namespace

std::string tc3CanonicalRequest(const Tc3Request &request)
{
    return "POST\n/\n\ncontent-type:" + std::string(request.contentType) +
           "\nhost:" + std::string(request.host) + "\nx-tc-action:" + lowered(request.action) +
           "\n\n" + std::string(kSignedHeaders) + "\n" + sha256Hex(request.payload);
}

std::string tc3Scope(int64_t timestamp, std::string_view service)
{
    return utcDate(timestamp) + "/" + std::string(service) + "/tc3_request";
}

std::string tc3StringToSign(int64_t timestamp, std::string_view service,
                            std::string_view canonicalRequest)
{
    return "TC3-HMAC-SHA256\n" + std::to_string(timestamp) + "\n" + tc3Scope(timestamp, service) +
           "\n" + sha256Hex(canonicalRequest);
}

std::string tc3Signature(std::string_view secretKey, int64_t timestamp, std::string_view service,
                         std::string_view stringToSign)
{
    const std::string date = hmacSha256("TC3" + std::string(secretKey), utcDate(timestamp));
    const std::string serviceKey = hmacSha256(date, service);
    const std::string signing = hmacSha256(serviceKey, "tc3_request");
    return hexOf(hmacSha256(signing, stringToSign));
}

std::string tc3Authorization(std::string_view secretId, std::string_view secretKey,
                             int64_t timestamp, std::string_view service, const Tc3Request &request)
{
    const std::string toSign = tc3StringToSign(timestamp, service, tc3CanonicalRequest(request));
    return "TC3-HMAC-SHA256 Credential=" + std::string(secretId) + "/" +
           tc3Scope(timestamp, service) + ", SignedHeaders=" + std::string(kSignedHeaders) +
           ", Signature=" + tc3Signature(secretKey, timestamp, service, toSign);
}

} // namespace mirel::siteserver
