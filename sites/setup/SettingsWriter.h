#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// The longest value a setting may have in the file.
inline constexpr size_t MaxSettingValue = 2048;

// Settings to write: a value for each name, or nothing to remove the setting.
using SettingChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Why the value cannot be written as the setting's line (an unknown name, a line break, a
// NUL, over MaxSettingValue bytes), or nothing. Never quotes the value.
std::string settingValueProblem(std::string_view name, std::string_view value);

// "name = value", the value in double quotes when it would not read back as itself
// (a "#", a quote first, blanks at either end, nothing at all).
std::string settingLine(std::string_view name, std::string_view value);

// The settings file's text with the changes: a changed setting's first line is rewritten
// in place and its later lines dropped, a removed setting's lines dropped, new settings
// appended. Comments, blank lines, unknown lines and line ends are kept as they were.
std::string rewriteSettings(std::string_view text, const SettingChanges &changes);

// Writes the text whole to a new file of mode 0600 in the file's folder (made with mode
// 0700 when missing) and renames it over the file, so that a reader sees the old file or
// the new one, never a part. Throws std::runtime_error naming the file and the failure.
void replaceSettingsFile(const std::filesystem::path &file, std::string_view text);

} // namespace mirel::siteserver
