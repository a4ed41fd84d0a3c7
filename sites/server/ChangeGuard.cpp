#include "sites/server/ChangeGuard.h"

#include "sites/server/RequestGuard.h"

#include <algorithm>
#include <cctype>

namespace mirel::siteserver {
namespace {

std::string_view mediaType(std::string_view contentType)
{
    contentType = contentType.substr(0, contentType.find(';'));
    while (!contentType.empty() && (contentType.back() == ' ' || contentType.back() == '\t'))
        contentType.remove_suffix(1);
    return contentType;
}

bool equalsLowered(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

// Whether a Referer is an address on the server itself: its own origin and a path.
bool isOwnReferer(std::string_view referer, int port)
{
    constexpr std::string_view scheme = "http://";
    const size_t slash = referer.find('/', std::min(scheme.size(), referer.size()));
    return slash != std::string_view::npos && isOwnOrigin(referer.substr(0, slash), port);
}

} // namespace

std::string changeRefusal(const httplib::Request &request, int port)
{
    if (request.method != "POST")
        return "refused: settings change only by a form post";
    if (!isOwnHost(request.get_header_value("Host"), port))
        return "refused: Host is not this server's own address";
    if (request.has_header("Origin")) {
        if (!isOwnOrigin(request.get_header_value("Origin"), port))
            return "refused: a page of another origin";
    } else if (!request.has_header("Referer")) {
        return "refused: neither Origin nor Referer";
    } else if (!isOwnReferer(request.get_header_value("Referer"), port)) {
        return "refused: a page of another origin";
    }
    if (!equalsLowered(mediaType(request.get_header_value("Content-Type")),
                       "application/x-www-form-urlencoded"))
        return "refused: not a form (application/x-www-form-urlencoded)";
    return {};
}

} // namespace mirel::siteserver
