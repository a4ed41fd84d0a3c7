#include "app/PageFiles.h"

#include "resources/Resources.h"
#include "shell/ResourceFile.h"

#include <QFileInfo>

namespace mirel {

namespace {

struct PageFile
{
    const char *fileName;
    const char *resName;
    const char *resType;
};

constexpr PageFile pageFiles[] = {
    {WebFolder::templateName, "TRANSLATE", "MYHTML"},
    {WebFolder::lineName, "LINE", "PIC"},
    {WebFolder::soundName, "SOUND", "PIC"},
};

void write(const WebFolder &folder, const PageFile &file)
{
    SaveResourceToFile(QLatin1String(file.resName), QLatin1String(file.resType),
                       folder.filePath(QLatin1String(file.fileName)));
}

} // namespace

void writePageFiles(const WebFolder &folder)
{
    initResources();
    for (const PageFile &file : pageFiles)
        write(folder, file);
}

void writeMissingPageFiles(const WebFolder &folder)
{
    initResources();
    folder.ensureExists();
    for (const PageFile &file : pageFiles) {
        if (!QFileInfo::exists(folder.filePath(QLatin1String(file.fileName))))
            write(folder, file);
    }
}

} // namespace mirel
