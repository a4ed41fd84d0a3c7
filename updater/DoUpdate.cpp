#include "updater/DoUpdate.h"

#include "net/HttpClient.h"
#include "updater/UpdateCheck.h"
#include "util/shell/MsgBox.h"
#include "util/shell/WebPage.h"
#include "util/shell/WidgetMessagePresenter.h"

#include <QApplication>
#include <QWidget>

namespace {

constexpr int kUpdateTimeoutMs = 10000;

QByteArray fetchList(const QByteArray &address)
{
    mirel::THttpClient client;
    client.HandleRedirects = true;
    client.ConnectTimeoutMs = kUpdateTimeoutMs;
    client.ReadTimeoutMs = kUpdateTimeoutMs;
    return client.Get(address);
}

} // namespace

extern "C" void DoUpdate(std::uintptr_t windowHandle, const char *address)
{
    if (address == nullptr)
        return;
    QWidget *const owner = QWidget::find(WId(windowHandle));
    mirel::UpdateCheckHooks hooks;
    hooks.fetch = fetchList;
    hooks.askToOpen = [owner](const mirel::UpdateInfo &info) {
        mirel::WidgetMessagePresenter presenter;
        mirel::MessageBoxRequest request;
        request.text = QStringLiteral("发现新版本 %1，是否打开下载页面？").arg(info.version);
        request.caption = QStringLiteral("Mirel免费翻译软件");
        request.icon = mirel::mbiQuestion;
        request.buttons = mirel::mbbYesNo;
        request.owner = owner;
        return presenter.present(request) == mirel::mbaYes;
    };
    hooks.open = [](const QByteArray &download) {
        mirel::OpenWebPage(QString::fromLatin1(download));
    };
    mirel::runUpdateCheck(QByteArray(address), QStringLiteral(MIREL_VERSION), hooks);
}
