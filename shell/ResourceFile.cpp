#include "shell/ResourceFile.h"

#include "util/Errors.h"
#include "util/FileReplace.h"

#include <QFile>

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

    replaceFile(fileName, bytes);
    return true;
}

} // namespace mirel
