#include "util/TextHelpers.h"

#include "util/TextCodec.h"

namespace mirel {
namespace {

QString toOwned(QStringView v)
{
    return v.toString();
}
QByteArray toOwned(QByteArrayView v)
{
    return v.toByteArray();
}

template <typename Text, typename View> Text cutImpl(View text, View startMark, View endMark)
{
    qsizetype start = 0;
    if (!startMark.isEmpty()) {
        const qsizetype at = text.indexOf(startMark);
        if (at < 0)
            return {};
        start = at + startMark.size();
    }
    if (endMark.isEmpty() || start >= text.size())
        return {};
    const qsizetype end = text.indexOf(endMark, start);
    if (end < 0)
        return {};
    return toOwned(text.sliced(start, end - start));
}

bool isGbkLead(uchar c)
{
    return c >= 0x81 && c <= 0xFE;
}

} // namespace

QString Cut(QStringView text, QStringView startMark, QStringView endMark)
{
    return cutImpl<QString>(text, startMark, endMark);
}

QByteArray CutBytes(QByteArrayView text, QByteArrayView startMark, QByteArrayView endMark)
{
    return cutImpl<QByteArray>(text, startMark, endMark);
}

bool IsGBK(QStringView text)
{
    if (text.isEmpty())
        return false;
    return toGbk(text.first(1)).size() > 1;
}

QByteArray removeGbkCharacter(QByteArrayView gbk, QByteArrayView ch)
{
    QByteArray out;
    out.reserve(gbk.size());
    qsizetype i = 0;
    while (i < gbk.size()) {
        const qsizetype width = (isGbkLead(uchar(gbk[i])) && i + 1 < gbk.size()) ? 2 : 1;
        const QByteArrayView piece = gbk.sliced(i, width);
        if (piece != ch)
            out.append(piece);
        i += width;
    }
    return out;
}

QByteArray HTMLToText(QByteArrayView gbk)
{
    return removeGbkCharacter(removeGbkCharacter(gbk, ","), "\"");
}

QByteArray ReplaceWord(QByteArrayView gbk)
{
    // space ' , . ? and the GBK bytes of “ ” 。 ，
    static constexpr const char *removed[] = {" ",        "'",        ",",        ".",       "?",
                                              "\xA1\xB0", "\xA1\xB1", "\xA1\xA3", "\xA3\xAC"};
    QByteArray s(gbk.data(), gbk.size());
    for (const char *ch : removed)
        s = removeGbkCharacter(s, ch);
    return s;
}

} // namespace mirel
