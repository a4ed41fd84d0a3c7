#include "dictionary/HtmlSanitizer.h"

#include <QList>

#include <utility>

namespace mirel {
namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Elements removed together with everything up to their closing tag. Besides scripts,
// objects, frames and embedded SVG or MathML (whose animations can set addresses from value
// lists, and whose content is parsed by other rules) these are the elements whose content a browser
// reads as plain text up to their closing tag: markup in there ("<a title='</style><script>…'>")
// would be read one way here and another way there.
bool dropsContent(const QString &name)
{
    static const QStringView names[] = {u"script",    u"object",  u"applet",   u"iframe",
                                        u"frameset",  u"noembed", u"noframes", u"style",
                                        u"textarea",  u"title",   u"xmp",      u"noscript",
                                        u"plaintext", u"svg",     u"math"};
    for (const QStringView n : names) {
        if (name == n)
            return true;
    }
    return false;
}

// Elements removed as single tags (no content of their own).
bool dropsTag(const QString &name)
{
    return name == u"embed" || name == u"frame";
}

int digitValue(QChar c, bool hex)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    const QChar lower = c.toLower();
    if (hex && lower >= u'a' && lower <= u'f')
        return lower.unicode() - u'a' + 10;
    return -1;
}

// Numeric character references and the named ones used to hide a scheme, decoded.
QString decodeReferences(QStringView value)
{
    QString out;
    qsizetype i = 0;
    while (i < value.size()) {
        if (value[i] != u'&') {
            out += value[i++];
            continue;
        }
        const QStringView rest = value.sliced(i + 1);
        bool decoded = false;
        if (rest.startsWith(u'#')) {
            const bool hex = rest.size() > 1 && (rest[1] == u'x' || rest[1] == u'X');
            qsizetype j = hex ? 2 : 1;
            char32_t code = 0;
            const qsizetype digitsStart = j;
            while (j < rest.size()) {
                const int digit = digitValue(rest[j], hex);
                if (digit < 0)
                    break;
                if (code < 0x110000)
                    code = code * (hex ? 16 : 10) + char32_t(digit);
                ++j;
            }
            if (j > digitsStart) {
                out += code < 0x110000 ? QString::fromUcs4(&code, 1) : QString(QChar(0xFFFD));
                i += 1 + j + ((j < rest.size() && rest[j] == u';') ? 1 : 0);
                decoded = true;
            }
        } else {
            static const std::pair<QStringView, QChar> named[] = {
                {u"tab;", u'\t'}, {u"newline;", u'\n'}, {u"colon;", u':'}};
            for (const auto &[name, ch] : named) {
                if (rest.startsWith(name, Qt::CaseInsensitive)) {
                    out += ch;
                    i += 1 + name.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded)
            out += value[i++];
    }
    return out;
}

bool isScriptAddress(QStringView value)
{
    QString compact;
    for (const QChar c : decodeReferences(value)) {
        if (c.unicode() > 0x20)
            compact += c.toLower();
    }
    return compact.startsWith(u"javascript:") || compact.startsWith(u"vbscript:");
}

struct Span
{
    qsizetype begin;
    qsizetype end;
};

// One start or end tag from its "<" to its ">" (or the end of the text).
struct Tag
{
    QString name; // lower case
    bool closing = false;
    bool complete = false;
    qsizetype end = 0;   // just past the ">"
    QList<Span> dropped; // attributes to remove, each with the blanks before it
};

Tag readTag(QStringView html, qsizetype lt)
{
    Tag tag;
    qsizetype i = lt + 1;
    if (i < html.size() && html[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    while (i < html.size() && !isSpace(html[i]) && html[i] != u'/' && html[i] != u'>')
        tag.name += html[i++].toLower();
    while (i < html.size()) {
        const qsizetype blanks = i;
        while (i < html.size() && (isSpace(html[i]) || html[i] == u'/'))
            ++i;
        if (i >= html.size())
            break;
        if (html[i] == u'>') {
            tag.complete = true;
            tag.end = i + 1;
            return tag;
        }
        const qsizetype nameStart = i;
        while (i < html.size() && !isSpace(html[i]) && html[i] != u'/' && html[i] != u'>' &&
               (html[i] != u'=' || i == nameStart))
            ++i;
        const QString attribute = html.sliced(nameStart, i - nameStart).toString().toLower();
        qsizetype after = i;
        while (after < html.size() && isSpace(html[after]))
            ++after;
        QStringView value;
        if (after < html.size() && html[after] == u'=') {
            i = after + 1;
            while (i < html.size() && isSpace(html[i]))
                ++i;
            if (i < html.size() && (html[i] == u'"' || html[i] == u'\'')) {
                const QChar quote = html[i];
                const qsizetype close = html.indexOf(quote, i + 1);
                const qsizetype valueEnd = close < 0 ? html.size() : close;
                value = html.sliced(i + 1, valueEnd - i - 1);
                i = close < 0 ? html.size() : close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < html.size() && !isSpace(html[i]) && html[i] != u'>')
                    ++i;
                value = html.sliced(valueStart, i - valueStart);
            }
        }
        if (attribute.startsWith(u"on") || isScriptAddress(value))
            tag.dropped.append({blanks, i});
    }
    tag.end = html.size();
    return tag;
}

// The position just past the closing tag of an element whose content is dropped, or the
// end of the text.
qsizetype endOfElement(QStringView html, qsizetype from, const QString &name)
{
    const QString closing = QStringLiteral("</") + name;
    qsizetype at = from;
    while ((at = html.indexOf(closing, at, Qt::CaseInsensitive)) >= 0) {
        const qsizetype next = at + closing.size();
        if (next >= html.size() || isSpace(html[next]) || html[next] == u'>' ||
            html[next] == u'/') {
            const qsizetype gt = html.indexOf(u'>', next);
            return gt < 0 ? html.size() : gt + 1;
        }
        at = next;
    }
    return html.size();
}

} // namespace

QString sanitizeHtmlFragment(QStringView html)
{
    QString out;
    out.reserve(html.size());
    // A stray "<" right before something removed would join with the text after it
    // ("<<!---->script>"); it is written as "&lt;" then.
    const auto removed = [&out] {
        if (out.endsWith(u'<')) {
            out.chop(1);
            out += u"&lt;";
        }
    };
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype lt = html.indexOf(u'<', i);
        if (lt < 0) {
            out += html.sliced(i);
            break;
        }
        out += html.sliced(i, lt - i);
        const QStringView rest = html.sliced(lt + 1);
        if (rest.startsWith(u"!--")) {
            const qsizetype close = html.indexOf(u"-->", lt + 4);
            i = close < 0 ? html.size() : close + 3;
            removed();
            continue;
        }
        // "<!" and "<?" (a declaration or a processing instruction) end at the first ">",
        // quotes or not, as browsers read them: "<?x a='>" then a script is a script.
        if (rest.startsWith(u'!') || rest.startsWith(u'?')) {
            const qsizetype gt = html.indexOf(u'>', lt + 2);
            i = gt < 0 ? html.size() : gt + 1;
            removed();
            continue;
        }
        const bool markup =
            !rest.isEmpty() && (isAsciiLetter(rest[0]) ||
                                (rest[0] == u'/' && rest.size() > 1 && isAsciiLetter(rest[1])));
        if (!markup) {
            out += u'<';
            i = lt + 1;
            continue;
        }
        const Tag tag = readTag(html, lt);
        if (!tag.complete)
            break;
        if (dropsContent(tag.name)) {
            i = tag.closing ? tag.end : endOfElement(html, tag.end, tag.name);
            removed();
            continue;
        }
        if (dropsTag(tag.name)) {
            i = tag.end;
            removed();
            continue;
        }
        qsizetype from = lt;
        for (const Span &span : tag.dropped) {
            out += html.sliced(from, span.begin - from);
            from = span.end;
            // An attribute right after a removed quoted value keeps a blank before it, or
            // it would join the name of the tag or of the attribute before it.
            if (from < tag.end && !isSpace(html[from]) && html[from] != u'/' && html[from] != u'>')
                out += u' ';
        }
        out += html.sliced(from, tag.end - from);
        i = tag.end;
    }
    return out;
}

} // namespace mirel
