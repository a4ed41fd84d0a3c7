// Enter and the default buttons of the two pages.
#include "app/MirelMain.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QWebEngineView>

namespace mirel {

QPushButton *TMirelMain::visibleDefaultButton() const
{
    QWidget *const page = TabControl->currentWidget();
    if (page == TabTranslate)
        return TranslateButton;
    if (page == TabWord)
        return WordButton;
    return nullptr;
}

// The multi-line edits and the web views keep Enter for themselves; a focused push
// button clicks itself (it is an auto-default button) before the key gets here.
bool TMirelMain::focusTakesEnter() const
{
    const QWidget *focus = QApplication::focusWidget();
    for (const QWidget *w = focus; w != nullptr && w != this; w = w->parentWidget()) {
        if (w == TranslateContent || w == TranslateResult ||
            qobject_cast<const QWebEngineView *>(w))
            return true;
    }
    return qobject_cast<const QPushButton *>(focus) != nullptr;
}

void TMirelMain::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        event->accept();
        if (focusTakesEnter())
            return;
        QPushButton *const button = visibleDefaultButton();
        if (button != nullptr && button->isVisible() && button->isEnabled())
            button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace mirel
