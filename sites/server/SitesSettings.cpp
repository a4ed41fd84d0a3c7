#include "sites/server/SitesSettings.h"

#include "sites/server/DataFile.h"

#include <cstdlib>

namespace mirel::sites {
namespace {

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

void SitesSettings::apply(const SitesSettings &later)
{
    if (later.apertium)
        apertium = later.apertium;
    if (later.upstream)
        upstream = later.upstream;
    if (later.apiKey)
        apiKey = later.apiKey;
}

SitesSettings readSettingsFile(const std::filesystem::path &file)
{
    SitesSettings settings;
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return settings;
    for (const DataLine &line : readDataLines(file)) {
        const size_t equals = line.text.find('=');
        const std::string name = trimmed(line.text.substr(0, equals));
        if (equals == std::string::npos || name.empty()) {
            if (trimmed(line.text).empty())
                continue;
            throwDataError(file, line.number, "a setting reads name = value");
        }
        const std::string value = trimmed(line.text.substr(equals + 1));
        if (name == "apertium")
            settings.apertium = value;
        else if (name == "upstream")
            settings.upstream = value;
        else if (name == "api-key")
            settings.apiKey = value;
        else
            throwDataError(file, line.number, "unknown setting " + name);
    }
    return settings;
}

std::vector<std::filesystem::path> settingsFiles()
{
    std::vector<std::filesystem::path> files{"/etc/mirel/sites.conf"};
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        files.emplace_back(std::filesystem::path(config) / "mirel" / "sites.conf");
    else if (const char *home = std::getenv("HOME"); home && *home)
        files.emplace_back(std::filesystem::path(home) / ".config" / "mirel" / "sites.conf");
    return files;
}

} // namespace mirel::sites
