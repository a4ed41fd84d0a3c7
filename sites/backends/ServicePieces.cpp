#include "sites/backends/ServicePieces.h"

#include <array>

namespace mirel::sites {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Sentence ends: ASCII marks count when a blank follows them (a decimal point does not
// end a sentence); full-width marks end one wherever they stand.
constexpr std::array<std::string_view, 6> kWideEnds = {
    "\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F", "\xEF\xBC\x9B", "\xE2\x80\xA6", "\xEF\xBD\xA1"};

// The end (exclusive) of the best cut in window, or 0 when there is none but a
// character boundary.
size_t bestCut(std::string_view window)
{
    // A line break, with a \r\n kept together.
    if (const size_t lf = window.rfind('\n'); lf != std::string_view::npos)
        return lf + 1;
    size_t best = 0;
    for (size_t i = 0; i < window.size(); ++i) {
        const char c = window[i];
        if ((c == '.' || c == '!' || c == '?' || c == ';') && i + 1 < window.size() &&
            isBlank(window[i + 1]))
            best = i + 1;
        for (const std::string_view mark : kWideEnds)
            if (window.substr(i, mark.size()) == mark)
                best = i + mark.size();
    }
    if (best == 0) {
        if (const size_t blank = window.find_last_of(" \t"); blank != std::string_view::npos)
            best = blank + 1;
    }
    // The blanks after the cut go with the piece before it, as far as the window reaches.
    while (best > 0 && best < window.size() && isBlank(window[best]))
        ++best;
    return best;
}

} // namespace

std::vector<std::string_view> cutPassage(std::string_view passage, size_t maxBytes)
{
    std::vector<std::string_view> pieces;
    if (maxBytes < 4)
        maxBytes = 4; // room for one UTF-8 sequence
    while (!passage.empty()) {
        if (passage.size() <= maxBytes) {
            pieces.push_back(passage);
            break;
        }
        const std::string_view window = passage.substr(0, maxBytes);
        size_t cut = bestCut(window);
        if (cut == 0) {
            cut = maxBytes;
            while (cut > 0 && isContinuation(passage[cut]))
                --cut;
            if (cut == 0)
                cut = maxBytes; // not UTF-8: cut where the limit says
        }
        pieces.push_back(passage.substr(0, cut));
        passage.remove_prefix(cut);
    }
    return pieces;
}

Trimmed trimBlanks(std::string_view text)
{
    size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    size_t end = text.size();
    while (end > start && isBlank(text[end - 1]))
        --end;
    return {text.substr(0, start), text.substr(start, end - start), text.substr(end)};
}

} // namespace mirel::sites
