#pragma once

#include <QString>

class QPlainTextEdit;

namespace mirel {

// The whole text of a multi-line edit box with every line break as CR LF, the form in
// which the translate command reads and sends a passage. Nothing else is changed.
QString passageText(const QPlainTextEdit &memo);

} // namespace mirel
