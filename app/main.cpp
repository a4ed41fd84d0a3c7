#include "app/ApplicationTitle.h"
#include "app/MirelMain.h"
#include "app/WebEngineSetup.h"
#include "app/WebFolderLocation.h"
#include "config/Sites.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    mirel::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirel"));
    QApplication::setApplicationDisplayName(mirel::applicationTitle());

    const QString webFolder =
        mirel::chooseWebFolder(QCoreApplication::applicationDirPath(),
                               QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    mirel::TMirelMain window(mirel::Sites::configured(), webFolder);
    window.show();
    return app.exec();
}
