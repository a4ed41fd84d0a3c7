#include "app/ApplicationSetup.h"

#include <QApplication>

namespace mirel {

void setUpApplication()
{
    // No display name: Qt would append it to every window title, and each box must show
    // its own caption alone. The main window sets the application title itself.
    QApplication::setApplicationName(QStringLiteral("Mirel"));
}

} // namespace mirel
