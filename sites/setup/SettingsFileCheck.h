#pragma once

#include "sites/setup/SitesSettings.h"

#include <filesystem>
#include <string>

namespace mirel::siteserver {

// A warning for a settings file that holds a secret (a key) while its group or other
// users may read it: it names the file, the settings and the chmod that fixes it, never
// a value. Empty when there is nothing to warn about.
std::string secretFileWarning(const std::filesystem::path &file, const SitesSettings &held);

} // namespace mirel::siteserver
