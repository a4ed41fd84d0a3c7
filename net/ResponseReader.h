#pragma once

#include "net/ByteSource.h"

#include <QByteArray>

namespace mirel {

inline constexpr qsizetype kMaxLineLength = 16384;
inline constexpr qsizetype kMaxHeaderBlock = 256 * 1024;
inline constexpr qsizetype kMaxBody = 64 * 1024 * 1024;

// Buffered reading of lines and blocks from a byte source. Reads in blocks of up to
// 32768 bytes; the time-limit applies to each wait for more bytes.
class ResponseReader
{
public:
    explicit ResponseReader(ByteSource &source, int timeoutMs = -1);

    void setTimeout(int timeoutMs) { m_timeoutMs = timeoutMs; }
    int timeout() const { return m_timeoutMs; }
    // True once the source has reported a close.
    bool closed() const { return m_closed; }
    // True while bytes that arrived are not read yet.
    bool hasBuffered() const { return m_pos < m_buffer.size(); }

    // The next line without its LF and a CR before it. Raises EConnClosedGracefully when
    // the source closes before a whole line arrived, EMaxLineLengthExceeded for a line
    // over kMaxLineLength bytes.
    QByteArray readLine();
    // Appends up to count bytes to out; stops early when the source closes.
    // Returns how many were appended.
    qint64 readBytes(qint64 count, QByteArray &out);
    // Appends everything up to the close to out.
    void readToEnd(QByteArray &out);
    // Keeps at most maxTotal bytes in out; raises EResponseTooLarge beyond that.
    void setBodyLimit(qint64 maxTotal) { m_bodyLimit = maxTotal; }

private:
    bool fill();
    void checkLimit(const QByteArray &out) const;

    ByteSource &m_source;
    int m_timeoutMs;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_closed = false;
    qint64 m_bodyLimit = kMaxBody;
};

} // namespace mirel
