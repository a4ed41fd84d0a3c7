#include "dictionary/ExampleBlocks.h"

namespace mirel {

QList<QByteArrayView> exampleBlocks(QByteArrayView sectionGbk)
{
    static constexpr QByteArrayView startMarker = "<div id=\"ssResultDiv";
    static constexpr QByteArrayView endMarker = "<div class=space7>";
    QList<QByteArrayView> blocks;
    for (qsizetype from = 0;;) {
        const qsizetype start = sectionGbk.indexOf(startMarker, from);
        if (start < 0)
            break;
        const qsizetype end = sectionGbk.indexOf(endMarker, start + startMarker.size());
        if (end < 0)
            break;
        from = end + endMarker.size();
        blocks.append(sectionGbk.sliced(start, from - start));
    }
    return blocks;
}

} // namespace mirel
