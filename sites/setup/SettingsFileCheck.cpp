#include "sites/setup/SettingsFileCheck.h"

#include <sys/stat.h>
#include <unistd.h>

namespace mirel::siteserver {

std::string secretFileWarning(const std::filesystem::path &file, const SitesSettings &held)
{
    std::string secrets;
    for (const auto &[name, value] : held.values)
        if (const SettingInfo *info = findSetting(name); info && info->secret && !value.empty())
            secrets += (secrets.empty() ? "" : ", ") + name;
    struct stat status
    {
    };
    if (secrets.empty() || ::stat(file.c_str(), &status) != 0)
        return {};
    const std::string path = file.string();
    const std::string warning =
        "warning: " + path + " holds " + secrets + " and other users can read it; ";
    const bool own = status.st_uid == ::geteuid();
    if (own && (status.st_mode & (S_IRGRP | S_IROTH)) != 0)
        return warning + "chmod 600 " + path;
    // A file of another user (the system's /etc/mirel/sites.conf): this server reads it,
    // so its group may; everyone else should not.
    if (!own && (status.st_mode & S_IROTH) != 0)
        return warning + "as its owner: chmod 640 " + path +
               " (and chgrp it to the group of users who may use the key), or keep keys in "
               "each user's own sites.conf with chmod 600";
    return {};
}

} // namespace mirel::siteserver
