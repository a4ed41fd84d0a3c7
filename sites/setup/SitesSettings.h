#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// One setting of the site server: its name (also its command-line option, "--" + name),
// what its value is, and whether it is a secret that no log, page or error may show.
struct SettingInfo
{
    std::string_view name;
    std::string_view value;
    std::string_view help;
    bool secret = false;
};

// Every setting, in the order --help lists them.
const std::vector<SettingInfo> &knownSettings();
const SettingInfo *findSetting(std::string_view name);

// The site server's settings that a person may keep in a file rather than type:
//   name = value        # a comment
// Blanks around name and value are dropped, a value may stand in double quotes, a line
// starting with "#" is a comment, a byte-order mark at the start is skipped.
struct SitesSettings
{
    // In the order the names first appeared.
    std::vector<std::pair<std::string, std::string>> values;

    std::optional<std::string> get(std::string_view name) const;
    std::string value(std::string_view name, std::string_view fallback = {}) const;
    bool has(std::string_view name) const { return get(name).has_value(); }
    void set(std::string_view name, std::string value);
    // What later overrides what earlier: a value set in later wins.
    void apply(const SitesSettings &later);
};

// Reads one settings file; a missing file gives no settings. Throws DataFileError
// ("file:line: what was expected") for a line that is not name = value, an unknown
// name or an unclosed quote.
SitesSettings readSettingsFile(const std::filesystem::path &file);

// One line's name and value, or why it is not one.
struct SettingLine
{
    std::string name;
    std::string value;
    std::string error; // empty when the line is a setting
};
SettingLine parseSettingLine(std::string_view line);

// /etc/mirel/sites.conf, then the user's ($XDG_CONFIG_HOME or ~/.config)/mirel/sites.conf.
std::vector<std::filesystem::path> settingsFiles();

} // namespace mirel::siteserver
