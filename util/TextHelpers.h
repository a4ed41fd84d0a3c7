#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace mirel {

// The text between the first StartMark and the first EndMark after it. A missing start
// marker, a missing end marker or an empty end marker give the empty text; an empty
// start marker cuts from the beginning of the text.
QString Cut(QStringView text, QStringView startMark, QStringView endMark);
// The same rules over bytes (the phonetic field, the tagged word record).
QByteArray CutBytes(QByteArrayView text, QByteArrayView startMark, QByteArrayView endMark);

// True when the first UTF-16 code unit of the text takes two or more bytes in GBK.
bool IsGBK(QStringView text);

// GBK text without "," and then without double quotes.
QByteArray HTMLToText(QByteArrayView gbk);

// GBK text without blanks, "'", ",", ".", "?", and the full-width “ ” 。 ，.
QByteArray ReplaceWord(QByteArrayView gbk);

// Removes every whole GBK character equal to `ch` (one or two bytes); a match never
// begins on the trail byte of a double-byte character.
QByteArray removeGbkCharacter(QByteArrayView gbk, QByteArrayView ch);

} // namespace mirel
