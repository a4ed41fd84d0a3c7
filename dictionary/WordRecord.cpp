#include "dictionary/WordRecord.h"

#include "util/TextHelpers.h"

namespace mirel {
namespace {

QByteArray group(const QByteArray &kind, const QByteArray &number, const QByteArray &text)
{
    return '<' + kind + number + '>' + text + "</" + kind + number + '>';
}

QByteArray field(QByteArrayView record, const QByteArray &tag)
{
    return CutBytes(record, '<' + tag + '>', "</" + tag + '>');
}

} // namespace

QByteArray composeWordRecord(const WordRecord &record, bool chineseFirst)
{
    QByteArray out = "<WORD>" + record.word + "</WORD><PHONETIC>" + record.phonetic +
                     "</PHONETIC><TRANSLATE>" + record.translate + "</TRANSLATE>";
    for (qsizetype i = 0; i < record.examples.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        const QByteArray en = group("IMAGESEN", n, record.examples[i].english);
        const QByteArray cn = group("IMAGESCN", n, record.examples[i].chinese);
        out += chineseFirst ? cn + en : en + cn;
    }
    return out;
}

WordRecord parseWordRecord(QByteArrayView record)
{
    WordRecord out;
    out.word = field(record, "WORD");
    out.phonetic = field(record, "PHONETIC");
    out.translate = field(record, "TRANSLATE");
    for (int n = 1; n <= 3; ++n) {
        const QByteArray number = QByteArray::number(n);
        out.examples.append(
            {field(record, "IMAGESEN" + number), field(record, "IMAGESCN" + number)});
    }
    return out;
}

} // namespace mirel
