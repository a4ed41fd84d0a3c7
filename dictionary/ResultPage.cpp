#include "dictionary/ResultPage.h"

#include "dictionary/HtmlSanitizer.h"
#include "dictionary/PageTemplate.h"
#include "dictionary/ScriptString.h"
#include "dictionary/SpeechAddress.h"
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

namespace mirel {
namespace {

QString visible(QByteArrayView gbk)
{
    return sanitizeHtmlFragment(fromGbk(gbk));
}

QString scriptArgument(QByteArrayView gbk)
{
    return escapeScriptString(visible(gbk));
}

} // namespace

QStringList resultPageSlots(const WordRecord &record)
{
    QStringList values{
        QStringLiteral("true"),
        visible(record.word),
        sanitizeHtmlFragment(fromUtf8Strict(record.phonetic)),
        scriptArgument(record.word),
        visible(record.translate),
    };
    for (qsizetype i = 0; i < 3; ++i) {
        const ExamplePair pair = i < record.examples.size() ? record.examples[i] : ExamplePair{};
        values << visible(pair.english) << scriptArgument(HTMLToText(pair.english))
               << visible(pair.chinese);
    }
    values << scriptArgument(record.word);
    return values;
}

QString resultPageText(QStringView templateText, const WordRecord &record)
{
    return fillTemplate(templateText, resultPageSlots(record));
}

QByteArray resultPageBytes(QByteArrayView templateBytes, QByteArrayView wordRecord)
{
    return pageFileBytes(resultPageText(readPageText(templateBytes), parseWordRecord(wordRecord)));
}

QByteArray resultPageBytes(QByteArrayView templateBytes, QByteArrayView wordRecord,
                           QByteArrayView speechSite)
{
    return pageFileBytes(resultPageText(withSpeechSite(readPageText(templateBytes), speechSite),
                                        parseWordRecord(wordRecord)));
}

} // namespace mirel
