#include "updater/UpdateCheck.h"

namespace mirel {

void runUpdateCheck(const QByteArray &address, const QString &runningVersion,
                    const UpdateCheckHooks &hooks) noexcept
{
    try {
        const std::optional<UpdateInfo> info = parseUpdateList(hooks.fetch(address));
        if (!info || compareVersions(info->version, runningVersion) <= 0)
            return;
        if (hooks.askToOpen(*info))
            hooks.open(info->download);
    } catch (...) {
        // The check is a courtesy: a failure of any kind leaves the program as it was.
    }
}

} // namespace mirel
