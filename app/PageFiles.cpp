#include "app/PageFiles.h"

#include "resources/Resources.h"
#include "util/Errors.h"
#include "util/shell/ResourceFile.h"

#include <QFile>

namespace mirel {

namespace {

QByteArray resourceBytes(const QString &resName, const QString &resType)
{
    QFile resource(resourcePath(resName, resType));
    if (!resource.open(QIODevice::ReadOnly))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(resName));
    return resource.readAll();
}

} // namespace

PageFileContents pageFileResources()
{
    initResources();
    return {
        resourceBytes(QStringLiteral("TRANSLATE"), QStringLiteral("MYHTML")),
        resourceBytes(QStringLiteral("LINE"), QStringLiteral("PIC")),
        resourceBytes(QStringLiteral("SOUND"), QStringLiteral("PIC")),
    };
}

} // namespace mirel
