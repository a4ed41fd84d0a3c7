#pragma once

#include "shell/MessagePresenter.h"
#include "util/Errors.h"

#include <exception>
#include <utility>

class QWidget;

namespace mirel {

// The standard exception report: a modal box with the error icon, an OK button, the
// application title as caption and the message with the "." rule.
void showExceptionReport(MessagePresenter &presenter, const QString &message,
                         QWidget *owner = nullptr);

// Runs an event handler; an error that leaves it is shown by the standard exception
// report (a silent abort shows nothing), and the program goes on.
template <typename Handler>
void guarded(MessagePresenter &presenter, QWidget *owner, Handler &&handler) noexcept
{
    try {
        try {
            std::forward<Handler>(handler)();
        } catch (const EAbort &) {
        } catch (const Exception &error) {
            showExceptionReport(presenter, error.message(), owner);
        } catch (const std::exception &error) {
            showExceptionReport(presenter, QString::fromLocal8Bit(error.what()), owner);
        }
    } catch (...) {
        // The report itself failed (out of memory): nothing more can be shown.
    }
}

} // namespace mirel
