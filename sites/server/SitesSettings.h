#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mirel::sites {

// The site server's settings that a person may keep in a file rather than type:
//   apertium = http://127.0.0.1:2737   (an APy already running; "off" for none)
//   upstream = http://127.0.0.1:5000   (a LibreTranslate-compatible service)
//   api-key  = …
// Blank lines and lines starting with "#" are skipped.
struct SitesSettings
{
    std::optional<std::string> apertium;
    std::optional<std::string> upstream;
    std::optional<std::string> apiKey;

    // What later overrides what earlier: a value set in later wins.
    void apply(const SitesSettings &later);
};

// Reads one settings file; a missing file gives no settings. Throws DataFileError for a
// line that is not "name = value" or names an unknown setting.
SitesSettings readSettingsFile(const std::filesystem::path &file);

// /etc/mirel/sites.conf, then the user's ($XDG_CONFIG_HOME or ~/.config)/mirel/sites.conf.
std::vector<std::filesystem::path> settingsFiles();

} // namespace mirel::sites
