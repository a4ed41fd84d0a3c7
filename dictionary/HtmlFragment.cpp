#include "dictionary/HtmlFragment.h"

#include <gumbo.h>

#include <algorithm>
#include <vector>

namespace mirel {
namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool endsTagName(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'/' ||
           c == u'>';
}

// A "<" that a parser would take for the start of a tag but that cannot be one of the
// page's markup stays text: before a name that is no HTML element ("if x<y then" would
// otherwise swallow the rest up to the next ">") and before a tag that no ">" ends (the
// parser drops an unfinished tag at the end, "a<b" would show "a"). Only "<" changes, to
// "&lt;", which means "<" inside attribute values and text alike.
QString strayLessThanAsText(QStringView html)
{
    const qsizetype lastGreater = html.lastIndexOf(u'>');
    QString out;
    out.reserve(html.size());
    for (qsizetype i = 0; i < html.size(); ++i) {
        if (html[i] != u'<') {
            out += html[i];
            continue;
        }
        qsizetype from = i + 1;
        if (from < html.size() && html[from] == u'/')
            ++from;
        if (from >= html.size() || !isAsciiLetter(html[from])) {
            out += u'<';
            continue;
        }
        qsizetype to = from;
        while (to < html.size() && !endsTagName(html[to]))
            ++to;
        const QByteArray name = html.sliced(from, to - from).toUtf8().toLower();
        const bool known =
            gumbo_tagn_enum(name.constData(), unsigned(name.size())) != GUMBO_TAG_UNKNOWN;
        out += known && lastGreater > i ? QStringView(u"<") : QStringView(u"&lt;");
    }
    return out;
}

GumboOptions fragmentOptions()
{
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_BODY;
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    options.max_errors = 0;
    return options;
}

} // namespace

HtmlFragment::HtmlFragment(QStringView html)
    : m_utf8(strayLessThanAsText(html.first(std::min(html.size(), kMaxFragmentLength))).toUtf8())
{
    const GumboOptions options = fragmentOptions();
    m_output = gumbo_parse_with_options(&options, m_utf8.constData(), size_t(m_utf8.size()));
}

HtmlFragment::~HtmlFragment()
{
    const GumboOptions options = fragmentOptions();
    gumbo_destroy_output(&options, m_output);
}

const GumboNode *HtmlFragment::root() const
{
    return m_output->root;
}

bool hidesContent(const GumboNode &node)
{
    if (node.type == GUMBO_NODE_TEMPLATE)
        return true;
    if (node.type != GUMBO_NODE_ELEMENT)
        return false;
    if (node.v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return true;
    switch (node.v.element.tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_OBJECT:
    case GUMBO_TAG_APPLET:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_FRAMESET:
    case GUMBO_TAG_FRAME:
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH:
        return true;
    default:
        return false;
    }
}

QString htmlFragmentText(QStringView html)
{
    const HtmlFragment fragment(html);
    QByteArray text;
    // Depth first without recursion: the tree can be as deep as the text is long.
    std::vector<const GumboNode *> pending{fragment.root()};
    while (!pending.empty()) {
        const GumboNode *node = pending.back();
        pending.pop_back();
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            text += node->v.text.text;
            break;
        case GUMBO_NODE_ELEMENT:
            if (node->v.element.tag == GUMBO_TAG_BR)
                text += ' ';
            if (hidesContent(*node))
                break;
            for (unsigned i = node->v.element.children.length; i-- > 0;)
                pending.push_back(static_cast<const GumboNode *>(node->v.element.children.data[i]));
            break;
        default:
            break;
        }
    }
    return QString::fromUtf8(text);
}

} // namespace mirel
