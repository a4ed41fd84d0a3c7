#include "sites/core/ValidUtf8.h"

#include "util/TextCodec.h"

namespace mirel::siteserver {

bool isValidUtf8(std::string_view bytes)
{
    return bytes.empty() ||
           !fromUtf8Strict(QByteArrayView(bytes.data(), qsizetype(bytes.size()))).isEmpty();
}

} // namespace mirel::siteserver
