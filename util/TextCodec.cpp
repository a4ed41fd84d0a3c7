#include "util/TextCodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <utility>

namespace mirel {
namespace {

// One iconv conversion descriptor, closed on every path.
class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Runs cd over [in, in + inLeft); on a sequence it cannot convert, onBad gives the number
// of input bytes to skip and the replacement to write, or nothing to give up.
template <typename OnBad>
std::optional<QByteArray> convert(const Iconv &cd, const char *in, size_t inLeft, size_t outFactor,
                                  OnBad onBad)
{
    QByteArray out;
    out.resize(qsizetype(inLeft * outFactor + 16));
    char *src = const_cast<char *>(in);
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    const auto grow = [&] {
        const qsizetype used = dst - out.data();
        out.resize(out.size() * 2 + 16);
        dst = out.data() + used;
        dstLeft = size_t(out.size() - used);
    };
    while (inLeft > 0) {
        const size_t r = iconv(cd.get(), &src, &inLeft, &dst, &dstLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) {
            grow();
            continue;
        }
        // EILSEQ or EINVAL: replace and skip, or give up.
        const std::optional<std::pair<size_t, QByteArray>> bad = onBad(src, inLeft);
        if (!bad)
            return std::nullopt;
        const auto &[skip, replacement] = *bad;
        if (dstLeft < size_t(replacement.size()))
            grow();
        memcpy(dst, replacement.constData(), size_t(replacement.size()));
        dst += replacement.size();
        dstLeft -= size_t(replacement.size());
        src += skip;
        inLeft -= skip;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(dst - out.data());
    return out;
}

QString fromUtf16(const QByteArray &utf16)
{
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

} // namespace

QByteArray toGbk(QStringView text)
{
    if (text.isEmpty())
        return {};
    const Iconv cd("GBK", "UTF-16LE");
    if (!cd.valid())
        return QByteArray(text.size(), '?');
    const char *in = reinterpret_cast<const char *>(text.utf16());
    const size_t bytes = size_t(text.size()) * 2;
    const auto gbk = convert(cd, in, bytes, 2, [](const char *src, size_t left) {
        // Skip one UTF-16 character: a surrogate pair, or one code unit.
        size_t skip = 2;
        if (left >= 4) {
            const char16_t hi = char16_t(uchar(src[0]) | (uchar(src[1]) << 8));
            const char16_t lo = char16_t(uchar(src[2]) | (uchar(src[3]) << 8));
            if (QChar::isHighSurrogate(hi) && QChar::isLowSurrogate(lo))
                skip = 4;
        }
        return std::optional(
            std::pair<size_t, QByteArray>{std::min(skip, left), QByteArrayLiteral("?")});
    });
    return gbk.value_or(QByteArray());
}

QString fromGbk(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const Iconv cd("UTF-16LE", "GBK");
    if (!cd.valid())
        return QString::fromLatin1(bytes.data(), bytes.size());
    const auto utf16 = convert(cd, bytes.data(), size_t(bytes.size()), 2, [](const char *, size_t) {
        return std::optional(std::pair<size_t, QByteArray>{1, QByteArrayLiteral("?\0")});
    });
    return fromUtf16(utf16.value_or(QByteArray()));
}

std::optional<QString> fromGbkStrict(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const Iconv cd("UTF-16LE", "GBK");
    if (!cd.valid())
        return std::nullopt;
    const auto utf16 = convert(cd, bytes.data(), size_t(bytes.size()), 2, [](const char *, size_t) {
        return std::optional<std::pair<size_t, QByteArray>>();
    });
    if (!utf16)
        return std::nullopt;
    return fromUtf16(*utf16);
}

QString fromUtf8Strict(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {};
    return text;
}

} // namespace mirel
