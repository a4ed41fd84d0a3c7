#include "app/PassageText.h"

#include "util/LineBreaks.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace mirel {

QString passageText(const QPlainTextEdit &memo)
{
    // The raw text keeps no-break spaces; blocks are split by U+2029, soft breaks
    // (Shift+Enter) are U+2028.
    return withCrLfBreaks(memo.document()->toRawText(), LineBreaks::AsciiAndUnicode);
}

} // namespace mirel
