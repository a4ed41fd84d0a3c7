#include "updater/DoUpdate.h"

#include "shell/MsgBox.h"
#include "shell/WebPage.h"
#include "shell/WidgetMessagePresenter.h"
#include "updater/UpdateCheck.h"
#include "updater/UpdateFetch.h"

#include <QApplication>
#include <QWidget>

extern "C" void DoUpdate(std::uintptr_t windowHandle, const char *address)
{
    if (address == nullptr)
        return;
    QWidget *const owner = QWidget::find(WId(windowHandle));
    mirel::UpdateCheckHooks hooks;
    // The window waits for this call: the fetch ends within its bound whatever the site
    // does (the question box waits for the user).
    hooks.fetch = [](const QByteArray &list) { return mirel::fetchUpdateList(list); };
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
