// The top bar (0, 0, 382, 33): the page buttons and the vendor page button go here.
#include "app/MirelMain.h"

namespace mirel {

void TMirelMain::createTopBar()
{
    TopPanel = new QWidget(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    TopPanel->setGeometry(0, 0, 382, 33);
}

} // namespace mirel
