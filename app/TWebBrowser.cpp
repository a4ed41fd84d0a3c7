#include "app/TWebBrowser.h"

#include "app/LocalFileGuard.h"

#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace mirel {

TWebBrowser::TWebBrowser(QWidget *parent) : QWebEngineView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    // A local page (the dictionary's result page holds fragments of a remote page) shows
    // the pictures of its folder and plays remote sound, but reads no other file and
    // fetches no remote address from its scripts.
    page()->setUrlRequestInterceptor(new LocalFileGuard(page()));
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

QUrl TWebBrowser::targetUrl(const QString &target)
{
    const QUrl address(target, QUrl::StrictMode);
    // A one-letter scheme is a drive letter, not a scheme.
    if (address.isValid() && !address.isRelative() && address.scheme().size() > 1)
        return address;
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

void TWebBrowser::Navigate(const QString &target)
{
    m_navigatedUrl = targetUrl(target);
    load(m_navigatedUrl);
}

} // namespace mirel
