#include "app/PassageText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace mirel {

QString passageText(const QPlainTextEdit &memo)
{
    // The raw text keeps no-break spaces; blocks are split by U+2029, soft breaks
    // (Shift+Enter) are U+2028.
    const QString raw = memo.document()->toRawText();
    QString text;
    text.reserve(raw.size() + raw.size() / 8);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n') {
            text += u"\r\n";
        } else if (c == u'\r') {
            text += u"\r\n";
            if (i + 1 < raw.size() && raw.at(i + 1) == u'\n')
                ++i;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace mirel
