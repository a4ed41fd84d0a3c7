#pragma once

#include <QString>

#include <array>

namespace mirel {

// A file of the web folder and the resource it is written from.
struct PageFile
{
    const char *fileName;
    const char *resName;
    const char *resType;
};

inline constexpr std::array<PageFile, 3> PageFiles = {{
    {"Translate.html", "TRANSLATE", "MYHTML"},
    {"Line.gif", "LINE", "PIC"},
    {"sound.gif", "SOUND", "PIC"},
}};

// The web folder's files are named relative to the folder path, which ends in "/".
inline QString pageFilePath(const QString &webFolder, const PageFile &file)
{
    return webFolder + QLatin1String(file.fileName);
}

// Creates the folder when missing, then writes each page file that does not exist, in
// table order. An existing file is never touched. The first failure throws
// EFCreateError and stops.
void writeMissingPageFiles(const QString &webFolder);

// Creates the folder when missing and writes all three page files, replacing them.
void writeAllPageFiles(const QString &webFolder);

} // namespace mirel
