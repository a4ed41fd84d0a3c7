#pragma once

#include <optional>

class QObject;
class QStackedWidget;

namespace mirel {

// The page a page button stands for: the sender's Tag when it is an image control,
// nothing for any other sender.
std::optional<int> pageIndexOf(const QObject *sender);

// Shows the page at `index`; an index with no page shows none of them.
void selectPage(QStackedWidget &pages, int index);

} // namespace mirel
