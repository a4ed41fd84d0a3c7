#include "net/FormEncoding.h"

namespace mirel {

namespace {

bool keptAsIs(unsigned char b)
{
    if (b < 0x21 || b > 0x7F)
        return false;
    switch (b) {
    case '*':
    case '#':
    case '%':
    case '<':
    case '>':
    case '[':
    case ']':
    case '&':
    case '=':
    case '+':
        return false;
    default:
        return true;
    }
}

} // namespace

QByteArray encodeFormValue(QByteArrayView value)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(value.size() * 3);
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (keptAsIs(b)) {
            out.append(c);
        } else {
            out.append('%');
            out.append(kHex[b >> 4]);
            out.append(kHex[b & 0x0F]);
        }
    }
    return out;
}

void encodeFormFields(QList<QByteArray> &fields)
{
    for (QByteArray &line : fields) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0)
            line = line.left(eq + 1) + encodeFormValue(QByteArrayView(line).sliced(eq + 1));
    }
}

QByteArray joinFormFields(const QList<QByteArray> &fields)
{
    QByteArray text;
    for (const QByteArray &line : fields) {
        text += line;
        text += "\r\n";
    }
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    text = text.mid(begin, end - begin);
    if (fields.size() >= 2)
        text.replace("\r\n", "&");
    return text;
}

} // namespace mirel
