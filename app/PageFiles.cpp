#include "app/PageFiles.h"

#include "util/shell/ResourceFile.h"

#include <QDir>
#include <QFileInfo>

namespace mirel {

namespace {

// Whether it worked shows when the first file is written.
void createFolder(const QString &webFolder)
{
    QDir().mkpath(webFolder);
}

void save(const QString &webFolder, const PageFile &file)
{
    SaveResourceToFile(QLatin1String(file.resName), QLatin1String(file.resType),
                       pageFilePath(webFolder, file));
}

} // namespace

void writeMissingPageFiles(const QString &webFolder)
{
    createFolder(webFolder);
    for (const PageFile &file : PageFiles) {
        if (!QFileInfo::exists(pageFilePath(webFolder, file)))
            save(webFolder, file);
    }
}

void writeAllPageFiles(const QString &webFolder)
{
    createFolder(webFolder);
    for (const PageFile &file : PageFiles)
        save(webFolder, file);
}

} // namespace mirel
