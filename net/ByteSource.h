#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace mirel {

// Where the response reader gets its bytes from: a socket, or a buffer in tests.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Reads up to maxBytes into buffer and returns how many arrived; 0 means the peer
    // closed. Waits at most timeoutMs for the first byte (a negative value waits without
    // limit) and fails with socket error 10060 when nothing arrives in time.
    virtual qsizetype receive(char *buffer, qsizetype maxBytes, int timeoutMs) = 0;
};

// Hands out the bytes of a buffer in pieces of at most pieceSize, then reports a close.
class MemoryByteSource : public ByteSource
{
public:
    explicit MemoryByteSource(QByteArray bytes, qsizetype pieceSize = 32768);
    qsizetype receive(char *buffer, qsizetype maxBytes, int timeoutMs) override;

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_pieceSize;
};

} // namespace mirel
