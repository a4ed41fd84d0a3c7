#include "sites/languages/PassageSplit.h"

#include <algorithm>

namespace mirel::siteserver {
namespace {

struct Character
{
    char32_t code = 0;
    size_t length = 1; // bytes
};

// One UTF-8 character at pos; a byte that does not start a well-formed one stands alone.
Character decode(std::string_view text, size_t pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(pos);
    size_t length = first < 0x80    ? 1
                    : first >= 0xF0 ? 4
                    : first >= 0xE0 ? 3
                    : first >= 0xC0 ? 2
                                    : 0;
    if (length <= 1 || length > 4 || pos + length > text.size())
        return {first, 1};
    char32_t code = first & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return {first, 1};
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    return {code, length};
}

size_t weight(const Character &c, TextMeasure measure)
{
    switch (measure) {
    case TextMeasure::Bytes:
        return c.length;
    case TextMeasure::Utf16Units:
        return c.code >= 0x10000 ? 2 : 1;
    case TextMeasure::CodePoints:
        break;
    }
    return 1;
}

bool isBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == U'\u3000';
}

bool isSentenceEnd(char32_t c)
{
    return c == '.' || c == '!' || c == '?' || c == U'。' || c == U'！' || c == U'？' || c == U'；';
}

bool isCloser(char32_t c)
{
    constexpr std::u32string_view closers = U"\"')]”’」』）】》〉";
    return closers.find(c) != std::u32string_view::npos;
}

// Where the piece that starts at start ends.
size_t pieceEnd(std::string_view text, size_t start, size_t limit, TextMeasure measure)
{
    size_t pos = start;
    size_t size = 0;
    size_t lastLine = 0, lastSentence = 0, lastBlank = 0;
    // A sentence end seen, with the closing marks after it, waiting for the character
    // that follows: after "." a blank must follow (3.14 and e.g. are not ends).
    bool pending = false, pendingLatin = false;
    size_t pendingEnd = 0;
    while (pos < text.size()) {
        const Character c = decode(text, pos);
        if (pending && !isCloser(c.code) && !isSentenceEnd(c.code)) {
            if (!pendingLatin || isBlank(c.code) || c.code == '\n' || c.code == '\r')
                lastSentence = pendingEnd;
            pending = false;
        }
        const size_t w = weight(c, measure);
        if (size + w > limit && pos > start)
            break;
        size += w;
        const size_t before = pos;
        pos += c.length;
        if (c.code == '\n') {
            lastLine = pos;
        } else if (isBlank(c.code)) {
            lastBlank = pos;
            // The blanks after a sentence end go with it.
            if (lastSentence == before && before > start)
                lastSentence = pos;
        } else if (isSentenceEnd(c.code)) {
            pendingLatin = (!pending || pendingLatin) && c.code < 0x80;
            pending = true;
            pendingEnd = pos;
        } else if (pending && isCloser(c.code)) {
            pendingEnd = pos;
        }
    }
    if (pos >= text.size())
        return text.size();
    if (pending && !pendingLatin)
        lastSentence = pendingEnd;
    for (const size_t cut : {lastLine, lastSentence, lastBlank})
        if (cut > start)
            return cut;
    return pos;
}

} // namespace

size_t textSize(std::string_view utf8, TextMeasure measure)
{
    size_t size = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const Character c = decode(utf8, pos);
        size += weight(c, measure);
        pos += c.length;
    }
    return size;
}

std::vector<std::string_view> splitPassage(std::string_view utf8, size_t limit, TextMeasure measure)
{
    std::vector<std::string_view> pieces;
    for (size_t start = 0; start < utf8.size();) {
        const size_t end = pieceEnd(utf8, start, limit, measure);
        pieces.push_back(utf8.substr(start, end - start));
        start = end;
    }
    return pieces;
}

TrimmedPiece trimPiece(std::string_view piece)
{
    const auto blankAt = [&piece](size_t pos) -> size_t { // its length, or 0
        const char c = piece[pos];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            return 1;
        return piece.substr(pos, 3) == "\u3000" ? 3 : 0;
    };
    size_t begin = 0;
    while (begin < piece.size())
        if (const size_t n = blankAt(begin))
            begin += n;
        else
            break;
    size_t end = piece.size();
    while (end > begin) {
        if (end >= begin + 3 && piece.substr(end - 3, 3) == "\u3000")
            end -= 3;
        else if (const char c = piece[end - 1]; c == ' ' || c == '\t' || c == '\r' || c == '\n')
            end -= 1;
        else
            break;
    }
    return {piece.substr(0, begin), piece.substr(begin, end - begin), piece.substr(end)};
}

} // namespace mirel::siteserver
