#include "dictionary/WebFolder.h"

#include "util/Errors.h"
#include "util/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mirel {

WebFolder::WebFolder(const QString &programFolder)
{
    m_path = programFolder;
    if (!m_path.endsWith(u'/'))
        m_path += u'/';
    m_path += QStringLiteral("Web/");
}

WebFolder WebFolder::choose(const QString &programFolder, const QString &userDataFolder)
{
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable())
        return WebFolder(programFolder);
    QDir().mkpath(userDataFolder);
    return WebFolder(userDataFolder);
}

WebFolder WebFolder::at(const QString &folderPath)
{
    WebFolder folder;
    folder.m_path = folderPath;
    if (!folder.m_path.endsWith(u'/'))
        folder.m_path += u'/';
    return folder;
}

void WebFolder::ensureExists() const
{
    QDir().mkdir(m_path);
}

bool WebFolder::hasTemplate() const
{
    return QFileInfo::exists(filePath(QString::fromLatin1(templateName)));
}

void WebFolder::writeFile(const QString &name, QByteArrayView bytes) const
{
    replaceFile(filePath(name), bytes);
}

QString WebFolder::writeResultPage(QByteArrayView pageBytes) const
{
    writeFile(QString::fromLatin1(resultName), pageBytes);
    return filePath(QString::fromLatin1(resultName));
}

QByteArray WebFolder::readTemplate() const
{
    const QString source = filePath(QString::fromLatin1(templateName));
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError::forFile(source, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFOpenError::forFile(source, file.errorString());
    return bytes;
}

} // namespace mirel
