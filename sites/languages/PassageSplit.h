#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// How a service measures the text of one request.
enum class TextMeasure {
    Bytes,      // UTF-8 bytes
    Utf16Units, // UTF-16 code units, as Java's String.length() (a character above U+FFFF is 2)
    CodePoints, // Unicode characters
};

// The size of UTF-8 text in that measure.
size_t textSize(std::string_view utf8, TextMeasure measure);

// Cuts UTF-8 text into pieces of at most `limit` each (views into the text), in order, so
// that the pieces joined give the text back byte for byte. A piece ends, by preference, after the
// last line break that fits, else after the last sentence end (。！？；.!? with the closing quotes
// or brackets that follow), else after the last run of blanks, else at a character boundary. A line
// break stays at the end of the piece it ends. Text within the limit is one piece; empty
// text is none. A limit smaller than one character still gives one character a piece.
std::vector<std::string_view> splitPassage(std::string_view utf8, size_t limit,
                                           TextMeasure measure);

// A piece without the blanks and line breaks around it, which a service may drop.
struct TrimmedPiece
{
    std::string_view lead;
    std::string_view core; // empty when the piece is only blanks and line breaks
    std::string_view trail;
};
TrimmedPiece trimPiece(std::string_view piece);

} // namespace mirel::siteserver
