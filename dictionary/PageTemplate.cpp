#include "dictionary/PageTemplate.h"

#include "util/Errors.h"
#include "util/LineBreaks.h"
#include "util/TextCodec.h"

#include <QStringDecoder>
#include <QtEndian>

namespace mirel {

QString readPageText(QByteArrayView bytes)
{
    QString text;
    if (bytes.startsWith("\xFF\xFE"))
        text = QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.sliced(3));
    else
        text = fromGbk(bytes);
    return linesEndedByCrLf(text);
}

QString fillTemplate(QStringView templateText, const QStringList &values)
{
    QString out;
    out.reserve(templateText.size() + 1024);
    qsizetype next = 0;
    qsizetype i = 0;
    while (i < templateText.size()) {
        const qsizetype percent = templateText.indexOf(u'%', i);
        if (percent < 0 || percent + 1 >= templateText.size()) {
            out += templateText.sliced(i);
            break;
        }
        out += templateText.sliced(i, percent - i);
        const QChar kind = templateText[percent + 1];
        if (kind == u's') {
            if (next >= values.size())
                throw EFormatError(QStringLiteral("No argument for format '%s'"));
            out += values[next++];
            i = percent + 2;
        } else if (kind == u'%') {
            out += u'%';
            i = percent + 2;
        } else {
            out += u'%';
            i = percent + 1;
        }
    }
    return out;
}

QByteArray pageFileBytes(QStringView pageText)
{
    const QString text = linesEndedByCrLf(pageText);
    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + text.size() * 2);
    for (const QChar c : text) {
        const char16_t unit = qToLittleEndian(c.unicode());
        out.append(reinterpret_cast<const char *>(&unit), 2);
    }
    return out;
}

} // namespace mirel
