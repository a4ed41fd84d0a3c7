#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace mirel {

// Keeps a local page to the files of its own folder: a page loaded from a file may load
// files from its folder (and below), no other file. Remote pages and the page itself are
// left alone.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

    // Whether a page at pageUrl may load target.
    static bool allows(const QUrl &pageUrl, const QUrl &target);
};

} // namespace mirel
