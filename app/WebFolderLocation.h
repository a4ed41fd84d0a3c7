#pragma once

#include <QString>

namespace mirel {

// The web folder ("Web/" with a trailing "/"): inside the program's folder when it can
// be written there, otherwise inside the per-user data folder (an installed copy).
QString chooseWebFolder(const QString &programFolder, const QString &userDataFolder);

} // namespace mirel
