#pragma once

#include "config/Sites.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace mirel {

// What the Baidu relay's busy page holds, and the text the program shows instead.
inline constexpr QStringView RelayBusyMarker = u"<div class='err'>翻译服务器繁忙！请稍后重试。";
inline constexpr QStringView RelayBusyText = u"翻译服务器繁忙,请稍后再试!";

// The relay page's credit line, built from the relay operator's home address; it ends
// the result block of the relay page.
QString relayCreditLine(QByteArrayView relayHome);

struct ExtractedResult
{
    QString text; // replaces the whole text of the result box, also when empty
    // Google only: the font to set on the result box (GetLanguageFont of the target).
    // The other engines leave the box's font alone.
    std::optional<QString> font;

    bool operator==(const ExtractedResult &) const = default;
};

// The translated text cut out of an engine's answer body. Google, Youdao and Yahoo pages
// are strict UTF-8 (a malformed body gives the empty text), the relay's page is GBK. A
// missing marker gives the empty text. An index outside 0 to 3 gives the empty result.
ExtractedResult extractResult(int engineIndex, QByteArrayView body, QStringView target,
                              const Sites &sites);

} // namespace mirel
