#include "dictionary/DictionaryRequest.h"

#include "util/TextCodec.h"

#include <QRandomGenerator>

namespace mirel {

DictionaryHeaders dictionaryHeaders(const Sites &sites)
{
    return {
        "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*",
        sites.dictionary + '/',
        "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)",
    };
}

QByteArray removeCrLf(QByteArrayView gbk)
{
    QByteArray word = gbk.toByteArray();
    word.replace("\r\n", "");
    return word;
}

QByteArray encodeQueryWord(QByteArrayView gbkWord)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = fromGbk(gbkWord).toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char ch : utf8) {
        const auto b = uchar(ch);
        if (b < 0x20 || b == 0x7F || ch == '&' || ch == '#' || ch == '%' || ch == '+' ||
            ch == '=') {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

QByteArray dictionaryAddress(QByteArrayView gbkWord, int rDigit, const Sites &sites)
{
    Q_ASSERT(rDigit >= 0 && rDigit <= 9);
    return sites.dictionary +
           "/search?tab=chn&keyfrom=dict.top&q=" + encodeQueryWord(removeCrLf(gbkWord)) +
           "&btnG=%E6%90%9C+%E7%B4%A2&r=" + char('0' + rDigit);
}

int randomRDigit()
{
    return int(QRandomGenerator::system()->bounded(10));
}

} // namespace mirel
