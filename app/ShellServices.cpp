#include "app/ShellServices.h"

#include "shell/WidgetMessagePresenter.h"

namespace mirel {

ShellServices ShellServices::desktop()
{
    return ShellServices{std::make_shared<WidgetMessagePresenter>(), WebPageLauncher::desktop()};
}

} // namespace mirel
