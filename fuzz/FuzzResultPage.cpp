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

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Skips the attributes of a tag whose name ends before `i`, as an HTML tokenizer reads
// them; returns the position past its ">", or -1 when the text ends inside the tag (a
// browser then drops the tag). A "<" in there is part of an attribute, not a new tag.
qsizetype skipAttributes(const QString &html, qsizetype i)
{
    const qsizetype n = html.size();
    while (i < n) {
        while (i < n && (isBlank(html[i]) || html[i] == u'/'))
            ++i;
        if (i >= n)
            return -1;
        if (html[i] == u'>')
            return i + 1;
        const qsizetype nameStart = i++;
        while (i < n && !isBlank(html[i]) && html[i] != u'/' && html[i] != u'>' &&
               (html[i] != u'=' || i == nameStart))
            ++i;
        while (i < n && isBlank(html[i]))
            ++i;
        if (i >= n || html[i] != u'=')
            continue;
        ++i;
        while (i < n && isBlank(html[i]))
            ++i;
        if (i < n && (html[i] == u'"' || html[i] == u'\'')) {
            const qsizetype close = html.indexOf(html[i], i + 1);
            if (close < 0)
                return -1;
            i = close + 1;
        } else {
            while (i < n && !isBlank(html[i]) && html[i] != u'>')
                ++i;
        }
    }
    return -1;
}

// Elements whose content a browser reads as text up to their closing tag.
bool isTextOnly(const QString &name)
{
    static const QStringView kNames[] = {u"style",    u"textarea", u"title",   u"xmp",
                                         u"noscript", u"noframes", u"noembed", u"plaintext"};
    for (const QStringView n : kNames) {
        if (name == n)
            return true;
    }
    return false;
}

// Where text-only content ends: at "</" + the name + a blank, "/" or ">" (the tag itself
// is read from there), or at the end.
qsizetype endOfText(const QString &html, qsizetype from, const QString &name)
{
    const QString closing = QStringLiteral("</") + name;
    qsizetype at = from;
    while ((at = html.indexOf(closing, at, Qt::CaseInsensitive)) >= 0) {
        const qsizetype next = at + closing.size();
        if (next >= html.size() || isBlank(html[next]) || html[next] == u'/' || html[next] == u'>')
            return at;
        at = next;
    }
    return html.size();
}

// Whether the fragment opens a script, frame or embedded object, read as a browser reads
// markup: only a "<" in text starts a tag (inside a tag it begins an attribute name),
// comments and "<!", "<?" and "</" + non-letter constructs run to their end, the content
// of text-only elements is text, and tag names compare in ASCII ("<\u017Fcript" is an unknown
// element).
bool hasScript(const QString &html)
{
    static const QStringView kDangerous[] = {u"script", u"iframe", u"object", u"embed"};
    const qsizetype n = html.size();
    qsizetype i = 0;
    while ((i = html.indexOf(u'<', i)) >= 0) {
        const QStringView rest = QStringView(html).sliced(i + 1);
        if (rest.startsWith(u"!--")) {
            if (rest.startsWith(u"!-->") || rest.startsWith(u"!--->")) {
                i += rest[3] == u'>' ? 5 : 6;
                continue;
            }
            const qsizetype close = html.indexOf(u"-->", i + 4);
            if (close < 0)
                return false;
            i = close + 3;
            continue;
        }
        const bool closing = rest.startsWith(u'/');
        const qsizetype nameAt = i + 1 + (closing ? 1 : 0);
        if (nameAt >= n)
            return false;
        if (!isAsciiLetter(html[nameAt])) {
            if (closing || html[nameAt] == u'!' || html[nameAt] == u'?') {
                const qsizetype gt = html.indexOf(u'>', nameAt);
                if (gt < 0)
                    return false;
                i = gt + 1;
            } else {
                ++i;
            }
            continue;
        }
        qsizetype end = nameAt;
        while (end < n && !isBlank(html[end]) && html[end] != u'/' && html[end] != u'>')
            ++end;
        QString name;
        for (qsizetype k = nameAt; k < end; ++k)
            name += html[k].unicode() < 128 ? html[k].toLower() : html[k];
        // A tag left open at the end counts too: the page goes on after the slot.
        for (const QStringView dangerous : kDangerous) {
            if (!closing && name == dangerous)
                return true;
        }
        i = skipAttributes(html, end);
        if (i < 0)
            return false;
        if (!closing && isTextOnly(name)) {
            if (name == u"plaintext")
                return false;
            i = endOfText(html, i, name);
        }
    }
    return false;
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
                const QByteArray shown = values[i].toUtf8().replace('\0', "\\0");
                std::fprintf(stderr, "slot %d: %s\n", int(i), shown.constData());
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
