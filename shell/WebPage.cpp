// GIO first: its headers use "signals" as a name, which Qt's headers define as a macro.
#include <gio/gio.h>

#include "shell/WebPage.h"

#include <memory>

namespace mirel {

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

struct GErrorFree
{
    void operator()(GError *error) const { g_error_free(error); }
};

using AppInfo = std::unique_ptr<GAppInfo, GObjectUnref>;

AppInfo defaultBrowserFor(const QByteArray &uri)
{
    const qsizetype colon = uri.indexOf(':');
    if (colon > 0) {
        AppInfo handler(g_app_info_get_default_for_uri_scheme(uri.left(colon).constData()));
        if (handler)
            return handler;
    }
    return AppInfo(g_app_info_get_default_for_type("text/html", FALSE));
}

// The desktop entry's command with the address in place of its field code, as the desktop
// starts it (quoting, %u/%U/%f, "env" and "flatpak run" wrappers alike).
bool openInDefaultBrowser(const QString &address)
{
    const QByteArray uri = address.toUtf8();
    const AppInfo browser = defaultBrowserFor(uri);
    if (!browser)
        return false;
    GList uris{const_cast<char *>(uri.constData()), nullptr, nullptr};
    GError *failure = nullptr;
    g_app_info_launch_uris(browser.get(), &uris, nullptr, &failure);
    const std::unique_ptr<GError, GErrorFree> ignored(failure);
    return true;
}

} // namespace

WebPageLauncher WebPageLauncher::desktop()
{
    return WebPageLauncher{openInDefaultBrowser};
}

bool OpenWebPage(const QString &address, const WebPageLauncher &launcher)
{
    return launcher.open ? launcher.open(address) : false;
}

} // namespace mirel
