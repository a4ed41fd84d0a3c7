#include "dictionary/HtmlSanitizer.h"

#include "dictionary/HtmlFragment.h"

#include <gumbo.h>

#include <vector>

namespace mirel {
namespace {

bool isAllowedElement(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_B:
    case GUMBO_TAG_I:
    case GUMBO_TAG_U:
    case GUMBO_TAG_EM:
    case GUMBO_TAG_STRONG:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_SPAN:
    case GUMBO_TAG_FONT:
    case GUMBO_TAG_SUP:
    case GUMBO_TAG_SUB:
    case GUMBO_TAG_A:
        return true;
    default:
        return false;
    }
}

// An address a link may keep: http or https, without the blanks and control characters
// around it that a browser would strip, and none inside.
bool isPlainWebAddress(QByteArrayView value)
{
    for (const char c : value) {
        if (uchar(c) < 0x20 || c == 0x7F)
            return false;
    }
    const QByteArray lower = value.toByteArray().toLower();
    return lower.startsWith("http://") || lower.startsWith("https://");
}

bool isAllowedAttribute(GumboTag tag, const GumboAttribute &attribute)
{
    if (attribute.attr_namespace != GUMBO_ATTR_NAMESPACE_NONE)
        return false;
    const QByteArrayView name(attribute.name);
    if (tag == GUMBO_TAG_FONT)
        return name == "color" || name == "size" || name == "face";
    if (tag == GUMBO_TAG_A)
        return name == "href" && isPlainWebAddress(QByteArrayView(attribute.value).trimmed());
    return false;
}

void appendEscaped(QByteArray &out, QByteArrayView text, bool attribute)
{
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? QByteArrayView("&quot;") : QByteArrayView("\"");
            break;
        default:
            out += c;
        }
    }
}

void appendStartTag(QByteArray &out, const GumboElement &element)
{
    const GumboTag tag = element.tag;
    out += '<';
    out += gumbo_normalized_tagname(tag);
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto &attribute = *static_cast<const GumboAttribute *>(element.attributes.data[i]);
        if (!isAllowedAttribute(tag, attribute))
            continue;
        out += ' ';
        out += attribute.name;
        out += "=\"";
        const QByteArrayView value(attribute.value);
        appendEscaped(out, tag == GUMBO_TAG_A ? value.trimmed() : value, true);
        out += '"';
    }
    out += '>';
}

} // namespace

QString sanitizeHtmlFragment(QStringView html)
{
    const HtmlFragment fragment(html);
    QByteArray out;
    // Depth first without recursion: the tree can be as deep as the text is long. A null
    // entry stands for the end tag of the allowed element pushed below it.
    struct Step
    {
        const GumboNode *node;
        const char *endTag;
    };
    std::vector<Step> pending;
    const GumboElement &root = fragment.root()->v.element;
    for (unsigned i = root.children.length; i-- > 0;)
        pending.push_back({static_cast<const GumboNode *>(root.children.data[i]), nullptr});
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.endTag) {
            out += "</";
            out += step.endTag;
            out += '>';
            continue;
        }
        const GumboNode &node = *step.node;
        if (node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
            node.type == GUMBO_NODE_CDATA) {
            appendEscaped(out, node.v.text.text, false);
            continue;
        }
        if (node.type != GUMBO_NODE_ELEMENT || hidesContent(node))
            continue;
        const GumboElement &element = node.v.element;
        if (element.tag_namespace == GUMBO_NAMESPACE_HTML && isAllowedElement(element.tag)) {
            appendStartTag(out, element);
            if (element.tag != GUMBO_TAG_BR)
                pending.push_back({nullptr, gumbo_normalized_tagname(element.tag)});
        }
        for (unsigned i = element.children.length; i-- > 0;)
            pending.push_back({static_cast<const GumboNode *>(element.children.data[i]), nullptr});
    }
    return QString::fromUtf8(out);
}

} // namespace mirel
