#include "net/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace mirel {

MemoryByteSource::MemoryByteSource(QByteArray bytes, qsizetype pieceSize)
    : m_bytes(std::move(bytes)), m_pieceSize(std::max<qsizetype>(1, pieceSize))
{
}

qsizetype MemoryByteSource::receive(char *buffer, qsizetype maxBytes, int)
{
    const qsizetype n = std::min({maxBytes, m_pieceSize, m_bytes.size() - m_pos});
    if (n <= 0)
        return 0;
    std::memcpy(buffer, m_bytes.constData() + m_pos, size_t(n));
    m_pos += n;
    return n;
}

} // namespace mirel
