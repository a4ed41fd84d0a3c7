#include "app/ApplicationSetup.h"
#include "app/MirelMain.h"
#include "app/WebEngineSetup.h"
#include "config/Sites.h"
#include "dictionary/WebFolder.h"
#include "util/InheritedFiles.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

// An installed copy (its update library in <prefix>/MIREL_PRIVATE_LIBDIR) keeps the web
// folder in the user's data folder; a copy run from its build or unpacked folder keeps it
// beside itself.
QString programFolderForPages()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (QDir(programFolder + QStringLiteral("/../" MIREL_PRIVATE_LIBDIR)).exists())
        return {};
    return programFolder;
}

} // namespace

int main(int argc, char **argv)
{
    mirel::keepInheritedFilesFromChildren();
    mirel::prepareWebEngine();
    QApplication app(argc, argv);
    mirel::setUpApplication();

    const QString webFolder =
        mirel::WebFolder::choose(programFolderForPages(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .path();
    mirel::TMirelMain window(mirel::Sites::configured(), webFolder);
    window.show();
    return app.exec();
}
