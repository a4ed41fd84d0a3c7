// The result page filler on an arbitrary word record, and on an arbitrary template.
// The first byte chooses which of the two comes from the input; the other is a fixed
// template or record. Whatever the page gets, its shown slots parse back to allowed
// elements and attributes only, and each script argument, read as a browser reads it
// where it stands, is exactly one string literal.
#include "dictionary/ResultPage.h"
#include "dictionary/WordRecord.h"
#include "fuzz/ScriptArgumentOracle.h"
#include "util/Errors.h"

#include <QString>

#include <gumbo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

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

// Whether re-parsing a cleaned slot, as the page's browser parses it, gives any element
// or attribute outside the allow-list, or anything but elements and text.
bool outsideAllowList(const QString &html)
{
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_BODY;
    options.max_errors = 0;
    const QByteArray utf8 = html.toUtf8();
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    bool bad = false;
    std::vector<const GumboNode *> pending;
    const GumboVector &top = output->root->v.element.children;
    for (unsigned i = 0; i < top.length; ++i)
        pending.push_back(static_cast<const GumboNode *>(top.data[i]));
    while (!pending.empty() && !bad) {
        const GumboNode *node = pending.back();
        pending.pop_back();
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE)
            continue;
        if (node->type != GUMBO_NODE_ELEMENT ||
            node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
            bad = true;
            break;
        }
        const GumboElement &element = node->v.element;
        const QByteArray tag = gumbo_normalized_tagname(element.tag);
        static const QByteArrayView kAllowed[] = {"b",    "i",    "u",   "em",  "strong", "br",
                                                  "span", "font", "sup", "sub", "a"};
        bad = std::find(std::begin(kAllowed), std::end(kAllowed), tag) == std::end(kAllowed);
        for (unsigned i = 0; i < element.attributes.length && !bad; ++i) {
            const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
            const QByteArray name = attribute->name;
            const QByteArray value = QByteArray(attribute->value).toLower();
            if (tag == "font")
                bad = name != "color" && name != "size" && name != "face";
            else if (tag == "a")
                bad = name != "href" ||
                      !(value.startsWith("http://") || value.startsWith("https://"));
            else
                bad = true;
        }
        for (unsigned i = 0; i < element.children.length; ++i)
            pending.push_back(static_cast<const GumboNode *>(element.children.data[i]));
    }
    gumbo_destroy_output(&options, output);
    return bad;
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
            const bool playArgument = i == 3 || i == 6 || i == 9 || i == 12;
            const bool cleaned = i != 0 && !playArgument && i != 14;
            if ((cleaned && outsideAllowList(values[i])) ||
                (playArgument && !fuzz::playArgumentHolds(values[i])) ||
                (i == 14 && !fuzz::scriptArgumentHolds(values[i]))) {
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
