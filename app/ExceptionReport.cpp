#include "app/ExceptionReport.h"

#include "app/ApplicationTitle.h"

namespace mirel {

void showExceptionReport(MessagePresenter &presenter, const QString &message, QWidget *owner)
{
    MessageBoxRequest request;
    request.text = exceptionReportText(message);
    request.caption = applicationTitle();
    request.icon = mbiError;
    request.buttons = mbbOk;
    request.owner = owner;
    presenter.present(request);
}

} // namespace mirel
