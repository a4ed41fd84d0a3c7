#include "config/Sites.h"

#include <algorithm>

namespace mirel {

Sites Sites::local(quint16 port)
{
    const QByteArray base = "http://127.0.0.1:" + QByteArray::number(port);
    return Sites{base, base, base, base, base, base, base, base, base};
}

Sites Sites::movedToPort(const QByteArray &base, const QByteArray &port) const
{
    bool ok = false;
    const uint number = port.toUInt(&ok);
    const bool digitsOnly =
        !port.isEmpty() && port.size() <= 5 &&
        std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!ok || !digitsOnly || number == 0 || number > 65535)
        return *this;
    const QByteArray moved = "http://127.0.0.1:" + QByteArray::number(number);
    Sites out = *this;
    for (QByteArray *site :
         {&out.google, &out.baiduRelay, &out.relayHome, &out.baiduDictHome, &out.youdaoTranslate,
          &out.yahoo, &out.dictionary, &out.vendor, &out.tts})
        if (*site == base)
            *site = moved;
    return out;
}

} // namespace mirel
