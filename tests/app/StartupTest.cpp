#include "WindowFixture.h"
#include "app/TWebBrowser.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

namespace mirel {
namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

using Startup = test::WindowFixture;

TEST_F(Startup, FirstStartCreatesTheFolderAndWritesThePageFiles)
{
    ASSERT_FALSE(QDir(webFolder()).exists());
    const auto window = makeWindow(webFolder());
    EXPECT_TRUE(presenter->boxes.empty());
    EXPECT_EQ(bytesOf(webFolder() + "Translate.html"), bytesOf(":/MYHTML/TRANSLATE"));
    EXPECT_EQ(bytesOf(webFolder() + "Line.gif"), bytesOf(":/PIC/LINE"));
    EXPECT_EQ(bytesOf(webFolder() + "sound.gif"), bytesOf(":/PIC/SOUND"));
    EXPECT_EQ(QDir(webFolder()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(window->WordBrowser->navigatedUrl(),
              QUrl::fromLocalFile(webFolder() + "Translate.html"));
    EXPECT_EQ(window->ADWeb->navigatedUrl(), QUrl("http://127.0.0.1:1/ad/201072928_1.html"));
}

TEST_F(Startup, SecondStartWritesNothing)
{
    makeWindow(webFolder()).reset();
    for (const char *name : {"Translate.html", "Line.gif", "sound.gif"})
        writeBytes(webFolder() + name, "kept");
    const auto window = makeWindow(webFolder());
    for (const char *name : {"Translate.html", "Line.gif", "sound.gif"})
        EXPECT_EQ(bytesOf(webFolder() + name), QByteArray("kept")) << name;
}

TEST_F(Startup, OnlyTheMissingFileIsWritten)
{
    makeWindow(webFolder()).reset();
    writeBytes(webFolder() + "Translate.html", "edited template");
    writeBytes(webFolder() + "Line.gif", "kept");
    ASSERT_TRUE(QFile::remove(webFolder() + "sound.gif"));
    const auto window = makeWindow(webFolder());
    EXPECT_EQ(bytesOf(webFolder() + "sound.gif"), bytesOf(":/PIC/SOUND"));
    EXPECT_EQ(bytesOf(webFolder() + "Translate.html"), QByteArray("edited template"));
    EXPECT_EQ(bytesOf(webFolder() + "Line.gif"), QByteArray("kept"));
}

TEST_F(Startup, UnwritableFolderIsReportedAndTheWindowStillWorks)
{
    // A regular file where the folder's parent should be: cannot be written, even by root.
    writeBytes(dir.filePath("program"), "not a folder");
    const QString folder = dir.filePath("program") + "/Web/";
    const auto window = makeWindow(folder);

    ASSERT_EQ(presenter->boxes.size(), 1u);
    const MessageBoxRequest &box = presenter->boxes.front();
    EXPECT_EQ(box.caption, QStringLiteral("Mirel免费翻译软件"));
    EXPECT_EQ(box.icon, mbiError);
    EXPECT_TRUE(box.text.startsWith(
        QStringLiteral("Cannot create file \"%1Translate.html\". ").arg(folder)))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(u'.'));
    // Start-up stopped at the failing step: no navigation was started.
    EXPECT_TRUE(window->WordBrowser->navigatedUrl().isEmpty());
    EXPECT_TRUE(window->ADWeb->navigatedUrl().isEmpty());

    window->show();
    EXPECT_EQ(window->TranslateType->count(), 4);
    EXPECT_EQ(window->OLDLanguage->count(), 52);
    EXPECT_EQ(presenter->boxes.size(), 1u);
}

} // namespace
} // namespace mirel
