#include "dictionary/WebFolder.h"
#include "util/Errors.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mirel;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(WebFolder, PathBesideTheProgram)
{
    EXPECT_EQ(WebFolder(u"/opt/mirel"_s).path(), u"/opt/mirel/Web/"_s);
    EXPECT_EQ(WebFolder(u"/opt/mirel/"_s).filePath(u"Temp.html"_s), u"/opt/mirel/Web/Temp.html"_s);
}

TEST(WebFolder, UserDataFolderWhenTheProgramFolderIsNotWritable)
{
    const QTemporaryDir dir;
    EXPECT_EQ(WebFolder::choose(dir.path(), dir.filePath(u"data"_s)).path(),
              dir.path() + u"/Web/"_s);
    const WebFolder fallback =
        WebFolder::choose(dir.filePath(u"missing"_s), dir.filePath(u"data"_s));
    EXPECT_EQ(fallback.path(), dir.filePath(u"data/Web/"_s));
    fallback.ensureExists();
    EXPECT_TRUE(QFileInfo(fallback.path()).isDir());
}

TEST(WebFolder, TemplateIsFoundAndReadWhereItWasWritten)
{
    const QTemporaryDir dir;
    const WebFolder web = WebFolder::at(dir.filePath(u"Web"_s));
    EXPECT_EQ(web.path(), dir.filePath(u"Web/"_s));
    web.ensureExists();
    EXPECT_FALSE(web.hasTemplate());
    web.writeFile(u"Translate.html"_s, "tmpl");
    EXPECT_TRUE(web.hasTemplate());
    EXPECT_EQ(web.readTemplate(), "tmpl");
    web.writeFile(u"Translate.html"_s, "tmpl2");
    EXPECT_EQ(readAll(web.filePath(u"Translate.html"_s)), "tmpl2");
}

TEST(WebFolder, FailuresRaiseFileErrorsAndKeepTheLastPage)
{
    const QTemporaryDir dir;
    const WebFolder web(dir.path());
    try {
        (void)web.readTemplate();
        FAIL() << "no error";
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(
            e.message().startsWith(u"Cannot open file \""_s + web.filePath(u"Translate.html"_s)));
    }
    // No folder: nothing can be written.
    EXPECT_THROW(web.writeResultPage("page"), EFCreateError);

    web.ensureExists();
    web.writeResultPage("first");
    EXPECT_EQ(web.writeResultPage("good"), web.filePath(u"Temp.html"_s));
    {
        const mirel::test::FileSizeLimit limit(1024);
        // Below and above the size a file device buffers.
        EXPECT_THROW(web.writeResultPage(QByteArray(4 * 1024, 'x')), EFCreateError);
        EXPECT_THROW(web.writeResultPage(QByteArray(64 * 1024, 'x')), EFCreateError);
    }
    EXPECT_EQ(readAll(web.filePath(u"Temp.html"_s)), "good");
    EXPECT_EQ(QDir(web.path()).entryList(QDir::Files), QStringList{u"Temp.html"_s});
}
