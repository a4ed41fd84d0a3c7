#include "app/WebFolderLocation.h"

#include <QDir>
#include <QTemporaryFile>

namespace mirel {

namespace {

QString webFolderIn(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Web")) + u'/';
}

// Permission bits say nothing for root, so try: create the folder and a file in it.
bool canWriteIn(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString chooseWebFolder(const QString &programFolder, const QString &userDataFolder)
{
    const QString beside = webFolderIn(programFolder);
    if (canWriteIn(beside))
        return beside;
    return webFolderIn(userDataFolder);
}

} // namespace mirel
