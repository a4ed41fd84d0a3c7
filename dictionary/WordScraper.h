#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace mirel {

// Cuts the headword, phonetic, translations and example sentence pairs out of the body
// of the dictionary's search page for a word (GBK). Returns the tagged word record (see
// WordRecord.h), or the empty text when nothing was found: an empty body, the site's
// not-found sentence, no translation, no example, or translations over 200 bytes.
QByteArray scrapeWord(QByteArrayView gbkWord, QByteArrayView body);

} // namespace mirel
