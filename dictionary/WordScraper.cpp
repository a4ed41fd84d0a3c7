#include "dictionary/WordScraper.h"

#include "dictionary/DictionaryRequest.h"
#include "dictionary/ExampleBlocks.h"
#include "dictionary/WordRecord.h"
#include "util/LineBreaks.h"
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

#include <QStringList>

namespace mirel {
namespace {

constexpr qsizetype maxWordBytes = 100;
constexpr qsizetype maxPhoneticBytes = 100;
constexpr qsizetype maxTranslateBytes = 200;

const QString rowSeparator = QStringLiteral("&nbsp;&nbsp;</td><td class=\"attributem1web\">");

QByteArray asciiUpper(QByteArrayView bytes)
{
    QByteArray out = bytes.toByteArray();
    for (char &c : out) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return out;
}

void appendJoined(QString &list, const QString &piece, QStringView separator)
{
    if (list.isEmpty())
        list = piece;
    else
        list += separator.toString() + piece;
}

bool isNotFoundPage(QByteArrayView pageGbk, QByteArrayView word)
{
    const QByteArray sentence =
        toGbk(u"抱歉，没有找到与您查询的“<B>") + asciiUpper(word) + toGbk(u"</B>”相符的字词。");
    return asciiUpper(pageGbk).contains(sentence);
}

// Translations of a Chinese word: the pieces of one row joined by spaces, the rows by
// "<BR>".
QString chineseTranslations(const QString &page)
{
    const QString section =
        Cut(page, u"valign=top class=\"attributem\">", u"<script>") + rowSeparator;
    QString list;
    QString group;
    for (const QString &line : splitLines(section)) {
        if (line.contains(rowSeparator)) {
            if (!group.isEmpty())
                appendJoined(list, group, u"<BR>");
            group.clear();
        } else if (line.contains(u"\"blue12other\">")) {
            appendJoined(group, Cut(line, u"E2Ctranslation\" class=\"blue12other\">", u"</a>"),
                         u" ");
        }
    }
    return list;
}

// Translations of a foreign word: one per row, joined by "<BR>".
QString foreignTranslations(const QString &page)
{
    QString list;
    for (const QString &line : splitLines(Cut(page, u"attributem", u"graynolinktext"))) {
        if (line.contains(rowSeparator))
            appendJoined(list, Cut(line, u"<td class=\"attributem1web\">", u"</td></tr>"), u"<BR>");
    }
    return list;
}

QByteArray sentence(const QString &block, QStringView start, QStringView end)
{
    QString text = Cut(block, start, end);
    text.remove(QStringLiteral("<b>"));
    text.remove(QStringLiteral("</b>"));
    return toGbk(text);
}

// Every example block of the examples section, in page order: the first sentence of a
// block is the one in the word's language.
QList<ExamplePair> examplePairs(const QString &section, bool chineseWord)
{
    const QByteArray sectionGbk = toGbk(section);
    QList<ExamplePair> pairs;
    for (const QByteArrayView bytes : exampleBlocks(sectionGbk)) {
        const QString block = fromGbk(bytes);
        const QByteArray first = sentence(block, u"<span>", u"</span>");
        const QByteArray second = sentence(block, u"<br>\n      <span>", u"</span><br>");
        pairs.append(chineseWord ? ExamplePair{second, first} : ExamplePair{first, second});
    }
    return pairs;
}

} // namespace

QByteArray scrapeWord(QByteArrayView gbkWord, QByteArrayView body)
{
    if (body.isEmpty())
        return {};
    const QByteArray word = removeCrLf(gbkWord);

    QByteArray phonetic = CutBytes(body, "<span class=\"collapsed-def\">", " </span>");

    // Every other marker is matched on the page as GBK would hold it: characters GBK
    // cannot represent read as "?".
    const QByteArray pageGbk = toGbk(fromUtf8Strict(body));
    if (isNotFoundPage(pageGbk, word))
        return {};
    const QString page = fromGbk(pageGbk);

    QByteArray headword = toGbk(Cut(page, u"<font class=dict18black>", u"</font>&nbsp;\n"));
    if (headword.isEmpty())
        headword = word;

    const bool chineseWord = IsGBK(fromGbk(word));
    QByteArray translate =
        toGbk(chineseWord ? chineseTranslations(page) : foreignTranslations(page));

    const QString section = Cut(page, u" ALT=\"例句与用法\">", u"更多例句 ?</a></td>");
    const QList<ExamplePair> examples = examplePairs(section, chineseWord);

    if (headword.size() > maxWordBytes)
        headword.clear();
    if (phonetic.size() > maxPhoneticBytes)
        phonetic.clear();
    if (translate.size() > maxTranslateBytes)
        translate.clear();
    if (translate.isEmpty() || examples.isEmpty())
        return {};
    return composeWordRecord({headword, phonetic, translate, examples}, chineseWord);
}

} // namespace mirel
