#include "sites/server/RequestGuard.h"

#include "sites/server/PeerOwner.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace mirel::siteserver {
namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

bool isOwnAuthority(std::string_view authority, int port)
{
    const std::string text = lowered(authority);
    const std::string suffix = std::string(":").append(std::to_string(port));
    for (const char *name : {"127.0.0.1", "localhost"})
        if (text == name + suffix || (port == 80 && text == name))
            return true;
    return false;
}

} // namespace

bool isOwnHost(std::string_view host, int port)
{
    return isOwnAuthority(host, port);
}

bool isOwnOrigin(std::string_view origin, int port)
{
    constexpr std::string_view scheme = "http://";
    return lowered(origin.substr(0, scheme.size())) == scheme &&
           isOwnAuthority(origin.substr(std::min(scheme.size(), origin.size())), port);
}

std::string refusal(const httplib::Request &request, int port)
{
    if (!isOwnHost(request.get_header_value("Host"), port))
        return "refused: Host is not this server's own address";
    if (request.has_header("Origin") && !isOwnOrigin(request.get_header_value("Origin"), port))
        return "refused: a page of another origin";
    const auto owner = peerOwner({request.remote_addr, request.remote_port},
                                 {request.local_addr, request.local_port});
    if (!isOwnPeer(owner, ::geteuid()))
        return "refused: this server belongs to another user";
    return {};
}

} // namespace mirel::siteserver
