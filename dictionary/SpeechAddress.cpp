#include "dictionary/SpeechAddress.h"

#include "dictionary/ScriptString.h"

namespace mirel {

QString withSpeechSite(QStringView templateText, QByteArrayView speechSite)
{
    static constexpr QStringView publicSite = u"http://translate.google.cn";
    const QString address = escapeScriptString(QString::fromUtf8(speechSite)) +
                            publicSpeechAddress.mid(publicSite.size()).toString();
    QString text = templateText.toString();
    text.replace(publicSpeechAddress.toString(), address);
    return text;
}

} // namespace mirel
