#include "sites/http/SafeReason.h"

namespace mirel::siteserver {

std::string safeReason(std::string_view text, const std::vector<std::string_view> &secrets)
{
    constexpr size_t kLongest = 160;
    constexpr std::string_view kMask = "***";
    std::string masked(text);
    for (const std::string_view secret : secrets) {
        if (secret.empty())
            continue;
        // The search goes on after the mask just written: a secret made of '*' ends too.
        for (size_t at = masked.find(secret); at != std::string::npos;
             at = masked.find(secret, at + kMask.size()))
            masked.replace(at, secret.size(), kMask);
    }
    std::string reason;
    for (const char c : masked) {
        if (reason.size() == kLongest)
            break;
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80)
            continue; // one '?' for a whole UTF-8 sequence
        reason += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return reason.empty() ? std::string("no details") : reason;
}

} // namespace mirel::siteserver
