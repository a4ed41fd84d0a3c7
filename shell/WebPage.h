#pragma once

#include <QString>

#include <functional>

namespace mirel {

// How OpenWebPage starts the desktop's web browser. Tests replace it.
struct WebPageLauncher
{
    // Starts the default browser on the address; false when none is registered. A failure
    // to start is not reported.
    std::function<bool(const QString &address)> open;

    // The desktop's default handler of the address's scheme (x-scheme-handler/http), else
    // of "text/html", started from its desktop entry with the address as its URI (GIO).
    static WebPageLauncher desktop();
};

// Opens the address in the desktop's web browser. False when no browser is registered;
// true otherwise, whether or not the start succeeds.
bool OpenWebPage(const QString &address,
                 const WebPageLauncher &launcher = WebPageLauncher::desktop());

} // namespace mirel
