#include "sites/services/VolcengineSigning.h"

#include "sites/http/Digest.h"

namespace mirel::siteserver {
namespace {

std::string signedHeaders(const VolcRequest &request)
{
    std::string out;
    for (const auto &[name, value] : request.headers)
        out += (out.empty() ? "" : ";") + name;
    return out;
}

std::string scope(std::string_view xDate, std::string_view region, std::string_view service)
{
    return std::string(xDate.substr(0, 8)) + "/" + std::string(region) + "/" +
           std::string(service) + "/request";
}

} // namespace

std::string volcCanonicalRequest(const VolcRequest &request)
{
    std::string out = std::string(request.method) + "\n" + std::string(request.path) + "\n" +
                      std::string(request.canonicalQuery) + "\n";
    for (const auto &[name, value] : request.headers)
        out += name + ":" + value + "\n";
    return out + "\n" + signedHeaders(request) + "\n" + sha256Hex(request.payload);
}

std::string volcStringToSign(std::string_view xDate, std::string_view region,
                             std::string_view service, std::string_view canonicalRequest)
{
    return "HMAC-SHA256\n" + std::string(xDate) + "\n" + scope(xDate, region, service) + "\n" +
           sha256Hex(canonicalRequest);
}

std::string volcSignature(std::string_view secretKey, std::string_view xDate,
                          std::string_view region, std::string_view service,
                          std::string_view stringToSign)
{
    const std::string date = hmacSha256(secretKey, xDate.substr(0, 8));
    const std::string signing =
        hmacSha256(hmacSha256(hmacSha256(date, region), service), "request");
    return hexOf(hmacSha256(signing, stringToSign));
}

std::string volcAuthorization(std::string_view accessKey, std::string_view secretKey,
                              std::string_view xDate, std::string_view region,
                              std::string_view service, const VolcRequest &request)
{
    const std::string toSign =
        volcStringToSign(xDate, region, service, volcCanonicalRequest(request));
    return "HMAC-SHA256 Credential=" + std::string(accessKey) + "/" +
           scope(xDate, region, service) + ", SignedHeaders=" + signedHeaders(request) +
           ", Signature=" + volcSignature(secretKey, xDate, region, service, toSign);
}

} // namespace mirel::siteserver
