#include "app/PageSelection.h"

#include "controls/TImgControl.h"

#include <QStackedWidget>

namespace mirel {

std::optional<int> pageIndexOf(const QObject *sender)
{
    if (const auto *control = qobject_cast<const TImgControl *>(sender))
        return control->Tag();
    return std::nullopt;
}

void selectPage(QStackedWidget &pages, int index)
{
    QWidget *const page = pages.widget(index);
    if (page == nullptr) {
        // The container keeps its current index; the page just goes out of sight.
        if (QWidget *const current = pages.currentWidget())
            current->hide();
        return;
    }
    pages.setCurrentWidget(page);
    page->show(); // after an index with no page, the same page comes back
}

} // namespace mirel
