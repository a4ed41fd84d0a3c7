#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// UTF-8 to GBK; a character GBK cannot hold becomes "?".
std::string utf8ToGbk(std::string_view utf8);

// GBK to UTF-8; nothing when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);

} // namespace mirel::siteserver
