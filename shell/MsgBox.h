#pragma once

#include "shell/MessagePresenter.h"

#include <QtGlobal>

#include <array>
#include <string_view>

namespace mirel {

// One row of the message box kinds.
struct MsgBoxKind
{
    std::u16string_view caption;
    MessageBoxIcon icon;
    MessageBoxButtons buttons;
};

inline constexpr std::array<MsgBoxKind, 4> MsgBoxKinds = {{
    {u"提示", mbiInformation, mbbOk},
    {u"询问", mbiQuestion, mbbYesNo},
    {u"警告", mbiWarning, mbbOk},
    {u"错误", mbiError, mbbOk},
}};

// Shows a modal box of the kind (0 to 3) through the presenter; an empty caption takes
// the kind's caption. Returns 1 (OK), 6 (Yes), 7 (No), or 0 when no box was shown (a
// kind outside the table shows none).
int ShowMsgBox(MessagePresenter &presenter, const QString &text, const QString &caption,
               quint8 kind);

} // namespace mirel
