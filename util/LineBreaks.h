#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace mirel {

// A line ends at CR, at LF or at the pair CR LF, which is one break. The edit boxes also
// break lines with U+2028 (line separator) and U+2029 (paragraph separator), never paired.
enum class LineBreaks { Ascii, AsciiAndUnicode };

// The lines of the text. A break at the very end adds no empty line, so the empty text has
// no lines and "a\n" has one.
QStringList splitLines(QStringView text);

// Every line of splitLines() followed by CR LF, the last one included; the empty text
// stays empty.
QString linesEndedByCrLf(QStringView text);

// The text with every line break written as CR LF and nothing else changed: a break at
// the end stays one break, and none is added.
QString withCrLfBreaks(QStringView text, LineBreaks breaks);

} // namespace mirel
