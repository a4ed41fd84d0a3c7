#pragma once

#include "config/Sites.h"
#include "util/RequestFields.h"

#include <QByteArray>
#include <QByteArrayView>

namespace mirel {

// The properties a word lookup sets on the shared HTTP client: redirects followed, Accept,
// Referer and User-Agent; the others keep what earlier requests set.
RequestFields dictionaryHeaders(const Sites &sites);

// The word without any CR LF pair.
QByteArray removeCrLf(QByteArrayView gbk);

// The word as it goes into the query: its UTF-8 bytes, with "&", "#", "%", "+", "=" and
// control bytes percent-encoded (upper-case hex) and every other byte raw.
QByteArray encodeQueryWord(QByteArrayView gbkWord);

// The address of the dictionary's search page for a word (GBK, CR LF pairs are
// removed) and the random digit r (0 to 9).
QByteArray dictionaryAddress(QByteArrayView gbkWord, int rDigit, const Sites &sites);

// A uniform random digit from 0 to 9.
int randomRDigit();

} // namespace mirel
