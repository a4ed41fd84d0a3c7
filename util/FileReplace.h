#pragma once

#include <QByteArrayView>
#include <QString>

namespace mirel {

// Writes the bytes as the whole new content of the file: the file is replaced only once
// every byte is on disk, so a failed write leaves any earlier file as it was. Throws
// EFCreateError with the path and the system's reason.
void replaceFile(const QString &fileName, QByteArrayView bytes);

} // namespace mirel
