#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace mirel {

// How OpenWebPage finds and starts the desktop's web browser. Tests replace the parts.
struct WebPageLauncher
{
    // The program registered for HTML documents; empty when none is registered.
    std::function<QString()> findHtmlHandler;
    // Starts the program with the arguments; a failure to start is not reported.
    std::function<void(const QString &program, const QStringList &arguments)> start;

    // The default application for "text/html" (GIO), started as a detached process.
    static WebPageLauncher desktop();
};

// Opens the address in the desktop's web browser: its registered program is started with
// the address as its only argument (the registered options are dropped). False when no
// program is registered; true otherwise, whether or not the start succeeds.
bool OpenWebPage(const QString &address,
                 const WebPageLauncher &launcher = WebPageLauncher::desktop());

} // namespace mirel
