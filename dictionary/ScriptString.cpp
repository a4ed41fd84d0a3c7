#include "dictionary/ScriptString.h"

namespace mirel {
namespace {

bool needsEscape(char16_t c)
{
    switch (c) {
    case u'\\':
    case u'\'':
    case u'"':
    case u'<':
    case u'>':
    case u'&':
    case u'%':
    case u'`':
    case 0x7F:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return c < 0x20;
    }
}

} // namespace

QString escapeScriptString(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (!needsEscape(code)) {
            out += c;
            continue;
        }
        static constexpr char16_t hex[] = u"0123456789ABCDEF";
        out += u"\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += QChar(hex[(code >> shift) & 0xF]);
    }
    return out;
}

} // namespace mirel
