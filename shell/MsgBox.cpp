#include "shell/MsgBox.h"

namespace mirel {

int ShowMsgBox(MessagePresenter &presenter, const QString &text, const QString &caption,
               quint8 kind)
{
    if (kind >= MsgBoxKinds.size())
        return mbaNone;
    const MsgBoxKind &row = MsgBoxKinds[kind];
    MessageBoxRequest request;
    request.text = text;
    request.caption = caption.isEmpty()
                          ? QString::fromUtf16(row.caption.data(), qsizetype(row.caption.size()))
                          : caption;
    request.icon = row.icon;
    request.buttons = row.buttons;
    return presenter.present(request);
}

} // namespace mirel
