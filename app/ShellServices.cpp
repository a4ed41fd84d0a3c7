#include "app/ShellServices.h"

#include "util/shell/WidgetMessagePresenter.h"

namespace mirel {

ShellServices ShellServices::desktop()
{
    return ShellServices{std::make_shared<WidgetMessagePresenter>(), WebPageLauncher::desktop()};
}

} // namespace mirel
