#pragma once

#include <QByteArrayView>
#include <QList>

namespace mirel {

// The example blocks of the dictionary page's examples section (GBK), in page order: each
// from a start marker to the end of the first end marker after it; the next block is
// searched after that end. Time grows with the section's length only: a start marker with
// no end marker after it ends the search, as no later one has one either.
QList<QByteArrayView> exampleBlocks(QByteArrayView sectionGbk);

} // namespace mirel
