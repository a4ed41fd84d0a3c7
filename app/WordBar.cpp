#include "app/WordBar.h"

#include "controls/TPaintPanel.h"
#include "resources/Pictures.h"

namespace mirel {

TPaintPanel *createWordPanel(QWidget *page)
{
    auto *panel = new TPaintPanel(page);
    panel->setObjectName(QStringLiteral("WordPanel"));
    panel->setGeometry(0, 0, 382, 42); // aligned to the top of the page: its whole width
    panel->setCaption(QStringLiteral("WordPanel"));
    panel->setPicture(QImage(QLatin1String(pictures::WordPanel)));
    panel->setPicHorzStretch(hstRight);
    return panel;
}

} // namespace mirel
