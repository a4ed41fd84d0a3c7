#include "dictionary/ResultPage.h"

#include "dictionary/HtmlFragment.h"
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

// What Play speaks: the text the field shows, character references decoded, so that it
// speaks and counts the characters the reader sees.
QString speechArgument(QByteArrayView gbk)
{
    return escapeScriptString(htmlFragmentText(fromGbk(gbk)));
}

} // namespace

QStringList resultPageSlots(const WordRecord &record)
{
    QStringList values{
        QStringLiteral("true"),
        visible(record.word),
        sanitizeHtmlFragment(fromUtf8Strict(record.phonetic)),
        speechArgument(record.word),
        visible(record.translate),
    };
    for (qsizetype i = 0; i < 3; ++i) {
        const ExamplePair pair = i < record.examples.size() ? record.examples[i] : ExamplePair{};
        values << visible(pair.english) << speechArgument(HTMLToText(pair.english))
               << visible(pair.chinese);
    }
    values << escapeScriptString(visible(record.word));
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
