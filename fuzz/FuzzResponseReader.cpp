// The response head and body reader on arbitrary bytes, delivered in reads whose sizes
// come from the input, as a slow or odd peer would send them. What is read must not
// depend on how the bytes were split.
#include "net/HttpErrors.h"
#include "net/HttpResponse.h"
#include "net/ResponseReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace mirel;

namespace {

// Hands out the bytes in pieces of the given sizes, in turn, then reports a close.
class SplitSource : public ByteSource
{
public:
    SplitSource(QByteArrayView bytes, std::vector<qsizetype> sizes)
        : m_bytes(bytes), m_sizes(std::move(sizes))
    {
    }

    qsizetype receive(char *buffer, qsizetype maxBytes, int) override
    {
        const qsizetype piece = m_sizes.empty() ? maxBytes : m_sizes[m_next++ % m_sizes.size()];
        const qsizetype n = std::min({maxBytes, piece, m_bytes.size() - m_pos});
        if (n <= 0)
            return 0;
        std::memcpy(buffer, m_bytes.data() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }

private:
    QByteArrayView m_bytes;
    std::vector<qsizetype> m_sizes;
    size_t m_next = 0;
    qsizetype m_pos = 0;
};

// What reading one response (head and body) gave, or the message of its error.
struct Outcome
{
    QByteArray statusLine;
    QList<QByteArray> headers;
    QByteArray body;
    QString error;
    bool operator==(const Outcome &) const = default;
};

Outcome readAll(QByteArrayView bytes, std::vector<qsizetype> sizes)
{
    SplitSource source(bytes, std::move(sizes));
    ResponseReader reader(source);
    Outcome out;
    try {
        const THttpResponse head = readResponseHead(reader);
        out.statusLine = head.ResponseText;
        out.headers = head.RawHeaders;
        out.body = readResponseBody(reader, head);
        if (head.ResponseText.size() > kMaxLineLength || out.body.size() > bytes.size())
            std::abort();
        for (const QByteArray &line : head.RawHeaders) {
            if (line.contains('\n'))
                std::abort();
        }
    } catch (const Exception &e) {
        out.error = e.message();
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // First byte: how many of the following bytes are read sizes (0 to 7).
    const size_t count = std::min<size_t>(data[0] % 8, size - 1);
    std::vector<qsizetype> sizes;
    for (size_t i = 0; i < count; ++i)
        sizes.push_back(1 + qsizetype(data[1 + i]) * 7);
    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1 + count,
                               qsizetype(size - 1 - count));

    const Outcome split = readAll(bytes, sizes);
    const Outcome whole = readAll(bytes, {});
    if (!(split == whole))
        std::abort();
    return 0;
}
