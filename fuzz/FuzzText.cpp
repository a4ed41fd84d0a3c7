// Cut, IsGBK, the GBK and UTF-8 codecs and the character removers on arbitrary input.
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

#include <cstdint>
#include <cstdlib>

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // GBK round trip: what fromGbk produces, toGbk must represent again without loss.
    const QString text = fromGbk(bytes);
    if (fromGbk(toGbk(text)) != text)
        std::abort();

    // Strict UTF-8 is all or nothing.
    const QString utf8 = fromUtf8Strict(bytes);
    if (!utf8.isEmpty() && utf8.toUtf8() != bytes)
        std::abort();

    // Markers taken from the input itself: the first two bytes split it three ways.
    const qsizetype a = size > 0 ? data[0] % (text.size() + 1) : 0;
    const qsizetype b = size > 1 ? data[1] % (text.size() + 1) : 0;
    const QStringView all(text);
    const QStringView start = all.first(std::min(a, b));
    const QStringView end = all.sliced(std::max(a, b));
    const QString cut = Cut(all, start, end);
    if (cut.size() > text.size() || (!cut.isEmpty() && !text.contains(cut)))
        std::abort();
    IsGBK(all);

    const QByteArray gbk = toGbk(text);
    const QByteArray cleaned = ReplaceWord(HTMLToText(gbk));
    if (cleaned.size() > gbk.size() || cleaned.contains(',') || cleaned.contains(' '))
        std::abort();
    return 0;
}
