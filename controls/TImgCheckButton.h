#pragma once

#include "controls/TImgControl.h"

namespace mirel {

// An image button that stays checked once clicked. Checking it unchecks every other check
// button of the same parent with the same CheckGroup; a click never unchecks it.
class TImgCheckButton : public TImgControl
{
    Q_OBJECT
public:
    using TImgControl::TImgControl;

    int CheckGroup() const { return m_group; }
    // Stored only; it counts from the next change of Checked.
    void setCheckGroup(int group) { m_group = group; }
    bool Checked() const { return m_checked; }
    void setChecked(bool checked);

protected:
    void Click() override;

private:
    void uncheckByGroup();

    int m_group = 0;
    bool m_checked = false;
};

} // namespace mirel
