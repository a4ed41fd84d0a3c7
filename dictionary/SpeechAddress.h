#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace mirel {

// The text-to-speech address that the page template's Play script calls, on the public
// site.
inline constexpr QStringView publicSpeechAddress =
    u"http://translate.google.cn/translate_tts?tl=en&q=";

// The template text with every occurrence of the public text-to-speech address moved to
// speechSite ("http://host" or "http://host:port"); path and query stay. The site is
// escaped for the script string it stands in, so the page gains no quote and no "%".
QString withSpeechSite(QStringView templateText, QByteArrayView speechSite);

} // namespace mirel
