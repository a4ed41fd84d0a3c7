// The ad strip at the bottom of the window (the vendor's ad page in a web view), the vendor
// page button's handler and the one update check, five seconds after creation.
#include "app/MirelMain.h"

#include "app/TWebBrowser.h"
#include "shell/WebPage.h"
#include "updater/DoUpdate.h"

#include <QScopeGuard>
#include <QTimer>

namespace mirel {

void TMirelMain::createAdStrip()
{
    pnlAD = new QWidget(this);
    pnlAD->setObjectName(QStringLiteral("pnlAD"));
    pnlAD->setGeometry(0, 428, 382, 49);
    ADWeb = new TWebBrowser(pnlAD);
    ADWeb->setObjectName(QStringLiteral("ADWeb"));
    ADWeb->setGeometry(0, 0, 382, 49);

    m_updateCall = &::DoUpdate;
    UpdateTimer = new QTimer(this);
    UpdateTimer->setObjectName(QStringLiteral("UpdateTimer"));
    UpdateTimer->setInterval(5000);
    connectHandler(UpdateTimer, &QTimer::timeout, [this] { UpdateTimerTimer(); });
    UpdateTimer->start();
}

void TMirelMain::Button_WebClick()
{
    OpenWebPage(QString::fromLatin1(sites().vendorPage()), webPageLauncher());
}

// The call may run its own event loop (a question box) for longer than the interval: ticks
// that arrive meanwhile find the call made and do nothing. The timer goes off once the call
// has returned, or has failed, so a failure is reported once and never retried.
void TMirelMain::UpdateTimerTimer()
{
    if (m_updateCalled)
        return;
    m_updateCalled = true;
    const auto switchOff = qScopeGuard([this] { UpdateTimer->stop(); });
    const QByteArray address = sites().updateList();
    m_updateCall(static_cast<std::uintptr_t>(winId()), address.constData());
}

} // namespace mirel
