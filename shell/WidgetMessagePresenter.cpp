#include "shell/WidgetMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

namespace mirel {

namespace {

QMessageBox::Icon boxIcon(MessageBoxIcon icon)
{
    switch (icon) {
    case mbiInformation:
        return QMessageBox::Information;
    case mbiQuestion:
        return QMessageBox::Question;
    case mbiWarning:
        return QMessageBox::Warning;
    case mbiError:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBoxAnswer WidgetMessagePresenter::present(const MessageBoxRequest &request)
{
    // Boxes need a widget application; without one no box can be shown.
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
        return mbaNone;

    const QMessageBox::StandardButtons buttons =
        request.buttons == mbbYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(boxIcon(request.icon), request.caption, request.text, buttons, request.owner);
    // What a peer sent (a status line, say) is shown as it stands, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.buttons == mbbYesNo)
        box.setEscapeButton(static_cast<QAbstractButton *>(nullptr)); // as Yes/No boxes: no escape
    switch (box.exec()) {
    case QMessageBox::Ok:
        return mbaOk;
    case QMessageBox::Yes:
        return mbaYes;
    case QMessageBox::No:
        return mbaNo;
    default:
        return mbaNone;
    }
}

} // namespace mirel
