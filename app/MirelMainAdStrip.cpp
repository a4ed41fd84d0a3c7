// The ad strip at the bottom of the window: the vendor's ad page in a web view.
#include "app/MirelMain.h"

#include "app/TWebBrowser.h"

namespace mirel {

void TMirelMain::createAdStrip()
{
    pnlAD = new QWidget(this);
    pnlAD->setObjectName(QStringLiteral("pnlAD"));
    pnlAD->setGeometry(0, 428, 382, 49);
    ADWeb = new TWebBrowser(pnlAD);
    ADWeb->setObjectName(QStringLiteral("ADWeb"));
    ADWeb->setGeometry(0, 0, 382, 49);
}

} // namespace mirel
