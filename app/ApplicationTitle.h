#pragma once

#include <QString>

namespace mirel {

// The application title: the window caption, the task-bar label and the caption of the
// standard exception report.
inline QString applicationTitle()
{
    return QStringLiteral("Mirel免费翻译软件");
}

} // namespace mirel
