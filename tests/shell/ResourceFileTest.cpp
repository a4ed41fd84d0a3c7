#include "shell/ResourceFile.h"
#include "resources/Resources.h"
#include "util/Errors.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mirel {
namespace {

QByteArray resourceBytes(const char *path)
{
    QFile file{QLatin1String(path)};
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SaveResourceToFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        initResources();
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

TEST_F(SaveResourceToFileTest, FindsEachPageFileByNameAndTypeInAnyCase)
{
    const QString path = dir.filePath(QStringLiteral("out"));
    EXPECT_TRUE(SaveResourceToFile(QStringLiteral("TRANSLATE"), QStringLiteral("MYHTML"), path));
    EXPECT_EQ(fileBytes(path), resourceBytes(":/MYHTML/TRANSLATE"));
    EXPECT_TRUE(SaveResourceToFile(QStringLiteral("line"), QStringLiteral("Pic"), path));
    EXPECT_EQ(fileBytes(path), resourceBytes(":/PIC/LINE"));
    EXPECT_TRUE(SaveResourceToFile(QStringLiteral("Sound"), QStringLiteral("pic"), path));
    EXPECT_EQ(fileBytes(path), resourceBytes(":/PIC/SOUND"));
    EXPECT_FALSE(resourceBytes(":/PIC/SOUND").isEmpty());
}

TEST_F(SaveResourceToFileTest, ReplacesAnExistingFileEntirely)
{
    const QString path = dir.filePath(QStringLiteral("sound.gif"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, 'x'));
    }
    SaveResourceToFile(QStringLiteral("SOUND"), QStringLiteral("PIC"), path);
    EXPECT_EQ(fileBytes(path), resourceBytes(":/PIC/SOUND"));
}

TEST_F(SaveResourceToFileTest, AFailedWriteKeepsTheEarlierFileWhole)
{
    const QString path = dir.filePath(QStringLiteral("Translate.html"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier");
    }
    ASSERT_GT(resourceBytes(":/MYHTML/TRANSLATE").size(), 1024);
    {
        const mirel::test::FileSizeLimit limit(1024);
        try {
            SaveResourceToFile(QStringLiteral("TRANSLATE"), QStringLiteral("MYHTML"), path);
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError &error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Cannot create file \"%1\". File too large").arg(path));
        }
    }
    EXPECT_EQ(fileBytes(path), "earlier");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("Translate.html")});
}

TEST_F(SaveResourceToFileTest, UnknownResourceIsReportedByName)
{
    const QString path = dir.filePath(QStringLiteral("out"));
    for (const auto &[name, type] :
         {std::pair{"MISSING", "PIC"}, std::pair{"TRANSLATE", "PIC"}, std::pair{"", "PIC"},
          std::pair{"../MYHTML/TRANSLATE", "PIC"}}) {
        try {
            SaveResourceToFile(QLatin1String(name), QLatin1String(type), path);
            ADD_FAILURE() << name << " was found";
        } catch (const EResNotFound &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Resource %1 not found").arg(name));
        }
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SaveResourceToFileTest, UncreatableFileNamesPathAndReason)
{
    // A regular file where a folder should be: fails for root as well.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString path = blocker + QStringLiteral("/Translate.html");
    try {
        SaveResourceToFile(QStringLiteral("TRANSLATE"), QStringLiteral("MYHTML"), path);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError &error) {
        const QString prefix = QStringLiteral("Cannot create file \"%1\". ").arg(path);
        EXPECT_TRUE(error.message().startsWith(prefix)) << error.message().toStdString();
        EXPECT_GT(error.message().size(), prefix.size()) << "no reason given";
    }
}

} // namespace
} // namespace mirel
