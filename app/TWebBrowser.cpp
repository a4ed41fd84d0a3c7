#include "app/TWebBrowser.h"

#include <QFileInfo>

namespace mirel {

TWebBrowser::TWebBrowser(QWidget *parent) : QWebEngineView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
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
