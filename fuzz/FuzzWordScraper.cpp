// The dictionary page scraper on an arbitrary word and page. The first byte gives the
// length of the word (GBK), the rest is the page body. A record that comes out must
// take apart into the fields it was built from.
#include "dictionary/WordRecord.h"
#include "dictionary/WordScraper.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t wordLength = std::min<size_t>(data[0] % 32, size - 1);
    const QByteArrayView word(reinterpret_cast<const char *>(data) + 1, qsizetype(wordLength));
    const QByteArrayView body(reinterpret_cast<const char *>(data) + 1 + wordLength,
                              qsizetype(size - 1 - wordLength));

    const QByteArray record = scrapeWord(word, body);
    if (record.isEmpty())
        return 0;
    if (!record.startsWith("<WORD>"))
        std::abort();
    const WordRecord fields = parseWordRecord(record);
    if (fields.translate.isEmpty() || fields.translate.size() > 200 || fields.word.size() > 100 ||
        fields.phonetic.size() > 100 || fields.examples.size() != 3)
        std::abort();
    return 0;
}
