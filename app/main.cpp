#include "app/ApplicationTitle.h"
#include "app/MirelMain.h"
#include "app/WebEngineSetup.h"
#include "config/Sites.h"
#include "dictionary/WebFolder.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    mirel::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirel"));
    QApplication::setApplicationDisplayName(mirel::applicationTitle());

    const QString webFolder =
        mirel::WebFolder::choose(QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .path();
    mirel::TMirelMain window(mirel::Sites::configured(), webFolder);
    window.show();
    return app.exec();
}
