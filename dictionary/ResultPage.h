#pragma once

#include "dictionary/WordRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace mirel {

// The fifteen values of the result page's "%s" slots for a word record, in order:
// "true", the word, the phonetic (UTF-8), the word for Play, the translations, then for
// examples 1 to 3 the English sentence, the sentence for Play (without "," and double
// quotes) and the Chinese sentence, and the word for isChinese. Every shown field is
// cleaned (HtmlSanitizer.h); the values for Play are the text those fields show (markup
// gone, character references decoded) and, like the value for isChinese, are escaped for
// a single-quoted script string.
QStringList resultPageSlots(const WordRecord &record);

// The template text (as read by readPageText) filled for the record. Throws EFormatError
// when the template holds more than fifteen "%s".
QString resultPageText(QStringView templateText, const WordRecord &record);

// From the template file's bytes and the tagged word record to the bytes of Temp.html.
QByteArray resultPageBytes(QByteArrayView templateBytes, QByteArrayView wordRecord);
// The same, with the page's text-to-speech address on speechSite (see SpeechAddress.h).
QByteArray resultPageBytes(QByteArrayView templateBytes, QByteArrayView wordRecord,
                           QByteArrayView speechSite);

} // namespace mirel
