#include "sites/backends/SafeReason.h"

namespace mirel::sites {

std::string safeReason(std::string_view message, std::initializer_list<std::string_view> secrets)
{
    constexpr size_t kLongest = 120;
    std::string text(message);
    for (const std::string_view secret : secrets) {
        if (secret.empty())
            continue;
        for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at))
            text.replace(at, secret.size(), "***");
    }
    std::string reason;
    for (const char c : text) {
        if (reason.size() == kLongest)
            break;
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80)
            continue; // one '?' for a whole UTF-8 sequence
        reason += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return reason.empty() ? std::string("no details") : reason;
}

} // namespace mirel::sites
