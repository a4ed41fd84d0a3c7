#include "controls/TImgCheckButton.h"

namespace mirel {

void TImgCheckButton::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    if (const QWidget *parent = parentWidget()) {
        for (QObject *child : parent->children()) {
            auto *other = qobject_cast<TImgCheckButton *>(child);
            if (other && other != this && other->m_group == m_group && other->m_checked)
                other->uncheckByGroup();
        }
    }
    m_checked = checked;
    setFaceState(checked ? ifsCheck : ifsNormal);
    updateFace();
}

void TImgCheckButton::uncheckByGroup()
{
    m_checked = false;
    setFaceState(ifsNormal);
    updateFace();
}

void TImgCheckButton::Click()
{
    QPointer<TImgCheckButton> self(this);
    TImgControl::Click();
    if (!self)
        return;
    if (!m_checked)
        setChecked(true);
    setPressed(false);
}

} // namespace mirel
