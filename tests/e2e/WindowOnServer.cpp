#include "WindowOnServer.h"

#include "../app/PickFromList.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace mirel::test {

std::unique_ptr<TMirelMain> windowOnServer(int port, const QString &webFolder,
                                           std::shared_ptr<RecordingPresenter> presenter)
{
    ShellServices services;
    services.presenter = std::move(presenter);
    services.launcher.open = [](const QString &) { return true; };
    auto window =
        std::make_unique<TMirelMain>(Sites::local(quint16(port)), webFolder, std::move(services));
    window->show();
    return window;
}

void translateInWindow(TMirelMain &window, const QString &engine, const QString &source,
                       const QString &target, const QString &passage)
{
    pickFromList(window.TranslateType, engine);
    pickFromList(window.OLDLanguage, source);
    pickFromList(window.NEWLanguage, target);
    window.TranslateContent->setPlainText(passage);
    QTest::mouseClick(window.TranslateButton, Qt::LeftButton);
}

} // namespace mirel::test
