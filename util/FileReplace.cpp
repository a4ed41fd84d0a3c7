#include "util/FileReplace.h"

#include "util/Errors.h"

#include <QSaveFile>

namespace mirel {

void replaceFile(const QString &fileName, QByteArrayView bytes)
{
    // Unbuffered: a buffered write that fails when commit() flushes it is not reported, and
    // the cut-off file would replace the earlier one. A short write is followed by another,
    // which fails with the system's reason.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EFCreateError::forFile(fileName, file.errorString());
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.data() + written, bytes.size() - written);
        if (count <= 0)
            throw EFCreateError::forFile(fileName, file.errorString());
        written += count;
    }
    if (!file.commit())
        throw EFCreateError::forFile(fileName, file.errorString());
}

} // namespace mirel
