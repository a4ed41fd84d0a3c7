#include "sites/backends/ServiceRequest.h"

namespace mirel::sites {

std::optional<ServiceEndpoint> parseServiceEndpoint(std::string_view address)
{
    auto service = parseServiceAddress(address);
    if (!service)
        return std::nullopt;
    ServiceEndpoint endpoint{std::move(*service), {}};
    endpoint.path = endpoint.service.prefix.empty() ? "/" : endpoint.service.prefix;
    endpoint.service.prefix.clear();
    return endpoint;
}

std::string percentEncoded(std::string_view bytes)
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::string formBody(const std::vector<std::pair<std::string_view, std::string_view>> &fields)
{
    std::string body;
    for (const auto &[name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += percentEncoded(name);
        body += '=';
        body += percentEncoded(value);
    }
    return body;
}

std::string safeReason(std::string_view text, const std::vector<std::string_view> &secrets)
{
    std::string out(text);
    for (const std::string_view secret : secrets) {
        if (secret.empty())
            continue;
        for (size_t at = out.find(secret); at != std::string::npos; at = out.find(secret, at + 3))
            out.replace(at, secret.size(), "***");
    }
    for (char &c : out)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '?';
    if (out.size() > 160)
        out.resize(160);
    return out;
}

} // namespace mirel::sites
