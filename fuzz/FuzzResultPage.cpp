// The result page filler on an arbitrary word record, and on an arbitrary template.
// The first byte chooses which of the two comes from the input; the other is a fixed
// template or record. Whatever the page gets, its slots hold no script and its script
// arguments cannot leave their quotes.
#include "dictionary/ResultPage.h"
#include "dictionary/WordRecord.h"
#include "util/Errors.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace mirel;

namespace {

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

const QByteArray kTemplate =
    "\xFF\xFE" +
    utf16le(QStringLiteral(
        "<html><body onload=\"show(%s)\"><b>%s</b> [%s] <a href=\"javascript:Play('%s')\">"
        "</a>\r\n<p>%s</p>\r\n<p>%s <a href=\"javascript:Play('%s')\"></a><br>%s</p>\r\n"
        "<p>%s <a href=\"javascript:Play('%s')\"></a><br>%s</p>\r\n"
        "<p>%s <a href=\"javascript:Play('%s')\"></a><br>%s</p>\r\n"
        "<script>isChinese('%s');</script></body></html>\r\n"));

const QByteArray kRecord =
    "<WORD>apple</WORD><PHONETIC>'&aelig;pl</PHONETIC><TRANSLATE>n. \xC6\xBB\xB9\xFB</TRANSLATE>"
    "<IMAGESEN1>an <b>apple</b> a day</IMAGESEN1><IMAGESCN1>\xD2\xBB\xCC\xEC</IMAGESCN1>";

// An opening tag of this name, its letters compared in ASCII only as browsers do: "<"
// and the name followed by a blank, "/", ">" or the end of the text. "<iframe??" and
// "<\u017Fcript" are unknown elements, not a frame or a script.
bool hasTag(const QString &value, QStringView name)
{
    for (qsizetype at = 0; at + name.size() < value.size(); ++at) {
        if (value[at] != u'<')
            continue;
        qsizetype i = 0;
        while (i < name.size() && value[at + 1 + i].unicode() < 128 &&
               QChar(value[at + 1 + i]).toLower() == name[i])
            ++i;
        const qsizetype end = at + 1 + i;
        if (i == name.size() && (end == value.size() || value[end].isSpace() ||
                                 value[end] == u'/' || value[end] == u'>'))
            return true;
    }
    return false;
}

bool hasScript(const QString &value)
{
    return hasTag(value, u"script") || hasTag(value, u"iframe") || hasTag(value, u"object") ||
           hasTag(value, u"embed");
}

bool leavesQuotes(const QString &value)
{
    for (const QChar c : value) {
        if (c == u'\'' || c == u'"' || c == u'<' || c == u'>' || c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const bool fuzzTemplate = data[0] & 1;

    if (!fuzzTemplate) {
        const QStringList values = resultPageSlots(parseWordRecord(input));
        if (values.size() != 15)
            std::abort();
        for (qsizetype i = 0; i < values.size(); ++i) {
            const bool scriptArgument = i == 3 || i == 6 || i == 9 || i == 12 || i == 14;
            if (hasScript(values[i]) || (scriptArgument && leavesQuotes(values[i]))) {
                std::fprintf(stderr, "slot %d: %s\n", int(i), values[i].toUtf8().constData());
                std::abort();
            }
        }
    }
    try {
        const QByteArray page =
            fuzzTemplate ? resultPageBytes(input, kRecord) : resultPageBytes(kTemplate, input);
        if (!page.startsWith("\xFF\xFE") || page.size() % 2 != 0)
            std::abort();
    } catch (const Exception &) {
        // a template with more slots than values
    }
    return 0;
}
