#pragma once

#include "updater/UpdateList.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace mirel {

// The parts of an update check that touch the outside world; tests replace them.
struct UpdateCheckHooks
{
    // Fetches the update list (throws on failure).
    std::function<QByteArray(const QByteArray &address)> fetch;
    // Asks whether to open the download page of the newer version.
    std::function<bool(const UpdateInfo &info)> askToOpen;
    // Opens the download page.
    std::function<void(const QByteArray &address)> open;
};

// Fetches the list at the address; when it names a version newer than runningVersion,
// asks the user and opens the download page on a yes. Any failure (fetch, list, hooks)
// ends the check silently: nothing escapes to the caller.
void runUpdateCheck(const QByteArray &address, const QString &runningVersion,
                    const UpdateCheckHooks &hooks) noexcept;

} // namespace mirel
