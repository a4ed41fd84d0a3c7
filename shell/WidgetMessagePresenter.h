#pragma once

#include "shell/MessagePresenter.h"

namespace mirel {

// Message boxes as QMessageBox, modal for the whole application, the text shown as plain
// text.
class WidgetMessagePresenter final : public MessagePresenter
{
public:
    MessageBoxAnswer present(const MessageBoxRequest &request) override;
};

} // namespace mirel
