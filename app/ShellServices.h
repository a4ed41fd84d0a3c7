#pragma once

#include "shell/MessagePresenter.h"
#include "shell/WebPage.h"

#include <memory>

namespace mirel {

// What the window uses to talk to the user and the desktop. The program takes the
// defaults; tests record boxes and browser starts instead.
struct ShellServices
{
    std::shared_ptr<MessagePresenter> presenter;
    WebPageLauncher launcher;

    static ShellServices desktop();
};

} // namespace mirel
