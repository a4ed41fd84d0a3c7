#include "app/PageFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mirel {
namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(PageFiles, AllOrOnlyTheMissingOnesFromTheResources)
{
    const QTemporaryDir dir;
    const WebFolder web = WebFolder::at(dir.filePath(QStringLiteral("Web")));
    const QString page = web.filePath(QStringLiteral("Translate.html"));
    const QString line = web.filePath(QStringLiteral("Line.gif"));
    const QString sound = web.filePath(QStringLiteral("sound.gif"));

    writeMissingPageFiles(web);
    ASSERT_TRUE(QFile::exists(QStringLiteral(":/MYHTML/TRANSLATE")));
    EXPECT_EQ(bytesOf(page), bytesOf(QStringLiteral(":/MYHTML/TRANSLATE")));
    EXPECT_EQ(bytesOf(line), bytesOf(QStringLiteral(":/PIC/LINE")));
    EXPECT_EQ(bytesOf(sound), bytesOf(QStringLiteral(":/PIC/SOUND")));
    EXPECT_EQ(QDir(web.path()).entryList(QDir::Files).size(), 3);

    // Only a missing file is written; an existing one is never touched.
    writeBytes(page, "edited");
    ASSERT_TRUE(QFile::remove(sound));
    writeMissingPageFiles(web);
    EXPECT_EQ(bytesOf(page), "edited");
    EXPECT_EQ(bytesOf(sound), bytesOf(QStringLiteral(":/PIC/SOUND")));

    // Writing them all replaces every one.
    writeBytes(line, "old");
    writePageFiles(web);
    EXPECT_EQ(bytesOf(page), bytesOf(QStringLiteral(":/MYHTML/TRANSLATE")));
    EXPECT_EQ(bytesOf(line), bytesOf(QStringLiteral(":/PIC/LINE")));
}

} // namespace
} // namespace mirel
