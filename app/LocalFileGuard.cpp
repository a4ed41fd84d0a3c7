#include "app/LocalFileGuard.h"

#include <QDir>
#include <QFileInfo>

namespace mirel {

bool LocalFileGuard::allows(const QUrl &pageUrl, const QUrl &target)
{
    if (!pageUrl.isLocalFile() || !target.isLocalFile())
        return true;
    const QString folder = QFileInfo(pageUrl.toLocalFile()).absolutePath() + u'/';
    const QString file = QDir::cleanPath(QFileInfo(target.toLocalFile()).absoluteFilePath());
    return file.startsWith(folder);
}

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
        return;
    if (!allows(info.firstPartyUrl(), info.requestUrl()))
        info.block(true);
}

} // namespace mirel
