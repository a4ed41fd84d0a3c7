#include "net/ResponseReader.h"

#include "net/HttpErrors.h"

#include <algorithm>

namespace mirel {

namespace {
constexpr qsizetype kBlock = 32768;
}

ResponseReader::ResponseReader(ByteSource &source, int timeoutMs)
    : m_source(source), m_timeoutMs(timeoutMs)
{
}

bool ResponseReader::fill()
{
    if (m_closed)
        return false;
    if (m_pos > 0 && m_pos >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + kBlock);
    qsizetype n = 0;
    try {
        n = m_source.receive(m_buffer.data() + old, kBlock, m_timeoutMs);
    } catch (...) {
        m_buffer.resize(old);
        throw;
    }
    m_buffer.resize(old + n);
    if (n == 0)
        m_closed = true;
    return n > 0;
}

QByteArray ResponseReader::readLine()
{
    qsizetype searchFrom = m_pos;
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n', searchFrom);
        if (lf >= 0) {
            qsizetype end = lf;
            if (end > m_pos && m_buffer[end - 1] == '\r')
                --end;
            if (end - m_pos > kMaxLineLength)
                throw EMaxLineLengthExceeded();
            QByteArray line = m_buffer.mid(m_pos, end - m_pos);
            m_pos = lf + 1;
            return line;
        }
        // Without a line end yet; a CR may still belong to the line end.
        if (m_buffer.size() - m_pos > kMaxLineLength + 1)
            throw EMaxLineLengthExceeded();
        const qsizetype scanned = m_buffer.size() - m_pos;
        if (!fill())
            throw EConnClosedGracefully();
        searchFrom = m_pos + scanned;
    }
}

void ResponseReader::checkLimit(const QByteArray &out) const
{
    if (out.size() > m_bodyLimit)
        throw EResponseTooLarge(
            QStringLiteral("Response body larger than %1 bytes.").arg(m_bodyLimit));
}

qint64 ResponseReader::readBytes(qint64 count, QByteArray &out)
{
    qint64 done = 0;
    while (done < count) {
        if (m_pos == m_buffer.size() && !fill())
            break;
        const qsizetype take = qsizetype(std::min<qint64>(count - done, m_buffer.size() - m_pos));
        if (out.size() + take > m_bodyLimit) {
            out.append(m_buffer.constData() + m_pos, m_bodyLimit - out.size() + 1);
            checkLimit(out);
        }
        out.append(m_buffer.constData() + m_pos, take);
        m_pos += take;
        done += take;
    }
    return done;
}

void ResponseReader::readToEnd(QByteArray &out)
{
    for (;;) {
        if (m_pos == m_buffer.size() && !fill())
            return;
        readBytes(m_buffer.size() - m_pos, out);
    }
}

} // namespace mirel
