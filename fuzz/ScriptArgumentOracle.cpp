#include "fuzz/ScriptArgumentOracle.h"

#include <QByteArray>

#include <gumbo.h>

namespace mirel::fuzz {

namespace {

bool isHex(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isHex(QChar c)
{
    return isHex(c.unicode());
}

bool isLineTerminator(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029);
}

// Length of the escape sequence after a backslash at text[i] (0: malformed).
qsizetype escapeLength(QStringView text, qsizetype i)
{
    const QStringView rest = text.sliced(i);
    if (rest.isEmpty())
        return 0;
    const auto hexRun = [&](qsizetype from, qsizetype count) {
        if (rest.size() < from + count)
            return false;
        for (qsizetype k = from; k < from + count; ++k) {
            if (!isHex(rest[k]))
                return false;
        }
        return true;
    };
    if (rest[0] == u'\r' && rest.size() > 1 && rest[1] == u'\n')
        return 2;
    if (rest[0] == u'x')
        return hexRun(1, 2) ? 3 : 0;
    if (rest[0] != u'u')
        return 1;
    if (hexRun(1, 4))
        return 5;
    if (rest.size() < 3 || rest[1] != u'{')
        return 0;
    const qsizetype close = rest.indexOf(u'}', 2);
    if (close < 3 || !hexRun(2, close - 2) ||
        rest.sliced(2, close - 2).toUInt(nullptr, 16) > 0x10FFFF)
        return 0;
    return close + 1;
}

// The UTF-8 bytes of text with every "%" and two hex digits replaced by that byte, read
// back as UTF-8: what a javascript: address runs.
QString percentDecoded(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && isHex(char16_t(bytes[i + 1])) &&
            isHex(char16_t(bytes[i + 2]))) {
            out += char(bytes.mid(i + 1, 2).toUInt(nullptr, 16));
            i += 2;
        } else {
            out += bytes[i];
        }
    }
    return QString::fromUtf8(out);
}

// The one top-level element of an HTML fragment parsed as body content, or null.
class ParsedFragment
{
public:
    explicit ParsedFragment(const QString &html) : m_utf8(html.toUtf8())
    {
        m_options.fragment_context = GUMBO_TAG_BODY;
        m_output = gumbo_parse_with_options(&m_options, m_utf8.constData(), size_t(m_utf8.size()));
    }
    ~ParsedFragment() { gumbo_destroy_output(&m_options, m_output); }
    ParsedFragment(const ParsedFragment &) = delete;
    ParsedFragment &operator=(const ParsedFragment &) = delete;

    const GumboElement *only(GumboTag tag) const
    {
        const GumboVector &top = m_output->root->v.element.children;
        if (top.length != 1)
            return nullptr;
        const auto *node = static_cast<const GumboNode *>(top.data[0]);
        if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag != tag)
            return nullptr;
        return &node->v.element;
    }

private:
    QByteArray m_utf8;
    GumboOptions m_options = kGumboDefaultOptions;
    GumboOutput *m_output;
};

// Whether script is exactly prefix, one string literal and suffix.
bool callWithOneLiteral(QStringView script, QStringView prefix, QStringView suffix)
{
    return script.size() >= prefix.size() + suffix.size() && script.startsWith(prefix) &&
           script.endsWith(suffix) &&
           isOneStringLiteral(
               script.sliced(prefix.size(), script.size() - prefix.size() - suffix.size()));
}

} // namespace

bool isOneStringLiteral(QStringView text)
{
    if (text.size() < 2 || text[0] != u'\'')
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\'')
            return i + 1 == text.size();
        if (isLineTerminator(c))
            return false;
        if (c == u'\\') {
            const qsizetype length = escapeLength(text, i + 1);
            if (length == 0)
                return false;
            i += length;
        }
    }
    return false;
}

bool playArgumentHolds(const QString &value)
{
    const ParsedFragment page(QStringLiteral("<a href=\"javascript:Play('") + value +
                              QStringLiteral("')\"></a>"));
    const GumboElement *a = page.only(GUMBO_TAG_A);
    if (!a || a->attributes.length != 1)
        return false;
    const auto *href = static_cast<const GumboAttribute *>(a->attributes.data[0]);
    const QString address = QString::fromUtf8(href->value);
    static constexpr QStringView scheme = u"javascript:";
    return QByteArrayView(href->name) == "href" && address.startsWith(scheme) &&
           callWithOneLiteral(percentDecoded(address.sliced(scheme.size())), u"Play(", u")");
}

bool scriptArgumentHolds(const QString &value)
{
    const ParsedFragment page(QStringLiteral("<script>isChinese('") + value +
                              QStringLiteral("');</script>"));
    const GumboElement *script = page.only(GUMBO_TAG_SCRIPT);
    if (!script || script->children.length != 1)
        return false;
    const auto *text = static_cast<const GumboNode *>(script->children.data[0]);
    return text->type == GUMBO_NODE_TEXT &&
           callWithOneLiteral(QString::fromUtf8(text->v.text.text), u"isChinese(", u");");
}

} // namespace mirel::fuzz
