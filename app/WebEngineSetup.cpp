#include "app/WebEngineSetup.h"

#include <QByteArray>
#include <QCoreApplication>

#include <unistd.h>

namespace mirel {

namespace {

void addChromiumFlag(QByteArray &flags, const QByteArray &flag)
{
    if (flags.split(' ').contains(flag))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    flags += flag;
}

} // namespace

void prepareWebEngine()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    addChromiumFlag(flags, "--disable-gpu");
    if (geteuid() == 0) {
        // Chromium refuses to run its sandbox as root.
        addChromiumFlag(flags, "--no-sandbox");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace mirel
