#pragma once

#include <QString>

namespace mirel {

// The compiled-in resource of that name and type ("TRANSLATE" of type "MYHTML", "LINE"
// and "SOUND" of type "PIC"; letter case does not matter), as a Qt resource path.
QString resourcePath(const QString &resName, const QString &resType);

// Writes the resource byte for byte into the file, replacing it as a whole: a failed
// write leaves any earlier file untouched. Returns true. Throws EResNotFound
// ("Resource <name> not found") and EFCreateError (path and system reason).
bool SaveResourceToFile(const QString &resName, const QString &resType, const QString &fileName);

} // namespace mirel
