// The default browser as desktops register it: a desktop entry named in mimeapps.list,
// started by a separate process (GIO reads the XDG folders once per process) with a
// stand-in browser that records its arguments.
#include "shell/WebPage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace mirel {
namespace {

const QString kAddress = QStringLiteral("http://127.0.0.1:8765/201072928.html");

// A desktop of its own: XDG folders, a stand-in browser (and a stand-in "flatpak run")
// in bin/, and the lines the browser wrote, one a start: $VAR, then each argument.
class Desktop
{
public:
    Desktop()
    {
        for (const char *folder : {"data/applications", "config", "system", "bin", "app dir"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(folder));
        writeScript(QStringLiteral("bin/browser"), "line=$(printf '%s\\t' \"${VAR:-}\" \"$@\")\n"
                                                   "printf '%s\\n' \"$line\" >> '" +
                                                       path(QStringLiteral("starts")).toUtf8() +
                                                       "'\n");
        writeScript(QStringLiteral("app dir/browser"), "exec browser \"$@\"\n");
        // flatpak run [options] --command=C APP [@@u] ARGS [@@]: C with ARGS.
        writeScript(
            QStringLiteral("bin/flatpak"),
            "[ \"$1\" = run ] || exit 2; shift\n"
            "while [ $# -gt 0 ]; do case \"$1\" in\n"
            "  --command=*) command=${1#--command=}; shift;;\n"
            "  --*) shift;;\n"
            "  *) shift; break;;\n"
            "esac; done\n"
            "for a; do shift; case \"$a\" in @@|@@u) ;; *) set -- \"$@\" \"$a\";; esac; done\n"
            "exec \"$command\" \"$@\"\n");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A desktop entry with this Exec line, the default for the content type.
    void registerBrowser(const QByteArray &exec, const QByteArray &contentType)
    {
        writeFile(QStringLiteral("data/applications/browser.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + exec +
                      "\nMimeType=x-scheme-handler/http;text/html;\n");
        writeFile(QStringLiteral("config/mimeapps.list"),
                  "[Default Applications]\n" + contentType + "=browser.desktop\n");
    }

    // Clicks the button `clicks` times from a process on this desktop (no LANG, no session
    // variables) and gives what OpenWebPage answered.
    QByteArray click(int clicks) const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        environment.insert(QStringLiteral("PATH"),
                           path(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), path(QStringLiteral("system")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), path(QStringLiteral("system")));
        QProcess opener;
        opener.setProcessEnvironment(environment);
        opener.start(QStringLiteral(MIREL_WEB_PAGE_OPENER), {kAddress, QString::number(clicks)});
        if (!opener.waitForFinished(60000))
            return "opener did not finish";
        return opener.readAllStandardOutput();
    }

    // The recorded starts, a line each, once `count` are there (or 30 s passed) and a
    // moment more.
    std::string starts(int count) const
    {
        QElapsedTimer clock;
        clock.start();
        while (recorded().count('\n') < count && clock.elapsed() < 30000)
            QThread::msleep(20);
        QThread::msleep(300);
        return recorded().toStdString();
    }

private:
    QByteArray recorded() const
    {
        QFile file(path(QStringLiteral("starts")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeFile(const QString &name, const QByteArray &text)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    void writeScript(const QString &name, const QByteArray &body)
    {
        writeFile(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QTemporaryDir m_dir;
};

struct BrowserRow
{
    const char *name;
    const char *exec; // $BIN and $APP stand for the stand-ins' folders
    const char *contentType;
    const char *recorded; // $URL stands for the address
};

class DefaultBrowser : public testing::TestWithParam<BrowserRow>
{
};

// Each click starts the browser once, as the desktop would start it from its entry.
TEST_P(DefaultBrowser, GetsTheAddressOncePerClick)
{
    Desktop desktop;
    QByteArray exec = GetParam().exec;
    exec.replace("$BIN", desktop.path(QStringLiteral("bin")).toUtf8())
        .replace("$APP", desktop.path(QStringLiteral("app dir")).toUtf8());
    desktop.registerBrowser(exec, GetParam().contentType);
    EXPECT_EQ(desktop.click(2), "true\ntrue\n");
    const std::string line = QString::fromUtf8(GetParam().recorded)
                                 .replace(QStringLiteral("$URL"), kAddress)
                                 .toStdString();
    EXPECT_EQ(desktop.starts(2), line + "\n" + line + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DefaultBrowser,
    testing::Values(BrowserRow{"Plain", "browser %u", "x-scheme-handler/http", "\t$URL\t"},
                    BrowserRow{"QuotedPath", "\"$APP/browser\" --new-window %u",
                               "x-scheme-handler/http", "\t--new-window\t$URL\t"},
                    BrowserRow{"ThroughEnv", "/usr/bin/env VAR=1 browser %u", "text/html",
                               "1\t$URL\t"},
                    BrowserRow{"Flatpak",
                               "$BIN/flatpak run --branch=stable --arch=x86_64 --command=browser "
                               "--file-forwarding org.example.Browser @@u %u @@",
                               "x-scheme-handler/http", "\t$URL\t"}),
    [](const testing::TestParamInfo<BrowserRow> &info) { return std::string(info.param.name); });

TEST(OpenWebPage, DesktopWithoutBrowserGivesFalseAndStartsNothing)
{
    const Desktop desktop;
    EXPECT_EQ(desktop.click(1), "false\n");
    EXPECT_EQ(desktop.starts(0), "");
}

TEST(OpenWebPage, EachCallAsksTheLauncherOnce)
{
    QStringList asked;
    const WebPageLauncher launcher{[&asked](const QString &address) {
        asked << address;
        return false;
    }};
    EXPECT_FALSE(OpenWebPage(kAddress, launcher));
    EXPECT_FALSE(OpenWebPage(kAddress, WebPageLauncher{}));
    EXPECT_EQ(asked, QStringList{kAddress});
}

} // namespace
} // namespace mirel
