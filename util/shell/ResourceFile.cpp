#include "util/shell/ResourceFile.h"

#include "util/Errors.h"

#include <QFile>
#include <QSaveFile>

namespace mirel {

QString resourcePath(const QString &resName, const QString &resType)
{
    // Resources live under ":/<TYPE>/<NAME>", both in capitals.
    return QStringLiteral(":/%1/%2").arg(resType.toUpper(), resName.toUpper());
}

bool SaveResourceToFile(const QString &resName, const QString &resType, const QString &fileName)
{
    const auto notFound = [&] {
        return EResNotFound(QStringLiteral("Resource %1 not found").arg(resName));
    };
    if (resName.isEmpty() || resType.isEmpty() || resName.contains(u'/') || resType.contains(u'/'))
        throw notFound();
    QFile resource(resourcePath(resName, resType));
    if (!resource.open(QIODevice::ReadOnly))
        throw notFound();
    const QByteArray bytes = resource.readAll();

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFCreateError::forFile(fileName, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EFCreateError::forFile(fileName, file.errorString());
    return true;
}

} // namespace mirel
