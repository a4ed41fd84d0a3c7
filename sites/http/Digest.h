#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// The digests request signatures are made of, over bytes as given.
std::string sha256Hex(std::string_view bytes);                          // 64 lowercase hex digits
std::string hmacSha256(std::string_view key, std::string_view message); // 32 raw bytes
std::string hexOf(std::string_view bytes);                              // lowercase hex
std::string hmacSha1Base64(std::string_view key, std::string_view message);

} // namespace mirel::siteserver
