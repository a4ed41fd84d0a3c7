#include "util/LineBreaks.h"

namespace mirel {

namespace {

struct Break
{
    qsizetype start = -1; // -1: no break from there on
    qsizetype length = 0;
};

Break nextBreak(QStringView text, qsizetype from, LineBreaks breaks)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r')
            return {i, i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1};
        if (c == u'\n')
            return {i, 1};
        if (breaks == LineBreaks::AsciiAndUnicode &&
            (c == QChar::LineSeparator || c == QChar::ParagraphSeparator))
            return {i, 1};
    }
    return {};
}

} // namespace

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype begin = 0;
    for (Break b = nextBreak(text, 0, LineBreaks::Ascii); b.start >= 0;
         b = nextBreak(text, begin, LineBreaks::Ascii)) {
        lines.append(text.sliced(begin, b.start - begin).toString());
        begin = b.start + b.length;
    }
    if (begin < text.size())
        lines.append(text.sliced(begin).toString());
    return lines;
}

QString linesEndedByCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (const QString &line : splitLines(text)) {
        out += line;
        out += u"\r\n";
    }
    return out;
}

QString withCrLfBreaks(QStringView text, LineBreaks breaks)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype begin = 0;
    for (Break b = nextBreak(text, 0, breaks); b.start >= 0; b = nextBreak(text, begin, breaks)) {
        out += text.sliced(begin, b.start - begin);
        out += u"\r\n";
        begin = b.start + b.length;
    }
    out += text.sliced(begin);
    return out;
}

} // namespace mirel
