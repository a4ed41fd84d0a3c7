#include "dictionary/DictionaryRequest.h"

#include "util/TextCodec.h"

#include <QRandomGenerator>

namespace mirel {

RequestFields dictionaryHeaders(const Sites &sites)
{
    RequestFields h;
    h.handleRedirects = true;
    h.accept = BrowserAccept;
    h.referer = sites.dictionary + '/';
    h.userAgent = BrowserUserAgent;
    return h;
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
