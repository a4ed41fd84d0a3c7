// GIO first: its headers use "signals" as a name, which Qt's headers define as a macro.
#include <gio/gio.h>

#include "shell/WebPage.h"

#include <QFile>
#include <QProcess>

#include <memory>

namespace mirel {

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

QString defaultHtmlHandler()
{
    const std::unique_ptr<GAppInfo, GObjectUnref> app(
        g_app_info_get_default_for_type("text/html", FALSE));
    if (!app)
        return {};
    const char *executable = g_app_info_get_executable(app.get());
    return executable ? QFile::decodeName(executable) : QString();
}

void startDetached(const QString &program, const QStringList &arguments)
{
    if (!program.isEmpty())
        QProcess::startDetached(program, arguments);
}

} // namespace

WebPageLauncher WebPageLauncher::desktop()
{
    return WebPageLauncher{defaultHtmlHandler, startDetached};
}

bool OpenWebPage(const QString &address, const WebPageLauncher &launcher)
{
    const QString program = launcher.findHtmlHandler ? launcher.findHtmlHandler() : QString();
    if (program.isEmpty())
        return false;
    if (launcher.start)
        launcher.start(program, QStringList{address});
    return true;
}

} // namespace mirel
