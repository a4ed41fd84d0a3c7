#pragma once

#include <QUrl>
#include <QWebEngineView>

namespace mirel {

// The embedded web browser: Navigate starts loading a local file (a plain path) or a web
// address and returns; the page loads on its own and no browser event is handled. A local
// page reads only the files of its folder and reaches no remote address from its scripts.
class TWebBrowser : public QWebEngineView
{
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget *parent = nullptr);

    void Navigate(const QString &target);

    // What the last Navigate asked for (empty before the first).
    const QUrl &navigatedUrl() const { return m_navigatedUrl; }

    // A plain local path becomes a file URL; an absolute address stays as it is.
    static QUrl targetUrl(const QString &target);

private:
    QUrl m_navigatedUrl;
};

} // namespace mirel
