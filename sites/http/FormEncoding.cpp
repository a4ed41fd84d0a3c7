#include "sites/http/FormEncoding.h"

namespace mirel::siteserver {

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

} // namespace mirel::siteserver
