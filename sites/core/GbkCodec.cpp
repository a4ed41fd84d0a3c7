#include "sites/core/GbkCodec.h"

#include <QString>
#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace mirel::siteserver {
namespace {

class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts all of in; onBad returns how many input bytes to skip and what to write
    // instead, or nothing to give up.
    template <typename OnBad> std::optional<std::string> run(std::string_view in, OnBad onBad) const
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return std::nullopt;
        std::string out;
        char buffer[1024];
        char *src = const_cast<char *>(in.data());
        size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char *dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, size_t(dst - buffer));
            if (r != size_t(-1) || errno == E2BIG)
                continue;
            const auto skip = onBad(std::string_view(src, srcLeft), out);
            if (!skip)
                return std::nullopt;
            src += *skip;
            srcLeft -= *skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

size_t utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    const Converter cd("GBK", "UTF-8");
    const auto out = cd.run(utf8, [](std::string_view rest, std::string &o) {
        o += '?';
        return std::optional<size_t>(std::min(rest.size(), utf8Length(rest.front())));
    });
    return out.value_or(std::string());
}

std::optional<std::string> gbkToUtf8(std::string_view gbk)
{
    const Converter cd("UTF-8", "GBK");
    return cd.run(gbk, [](std::string_view, std::string &) { return std::optional<size_t>(); });
}

bool isValidUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError();
}

} // namespace mirel::siteserver
