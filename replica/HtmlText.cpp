#include "replica/HtmlText.h"

namespace mirel::replica {
namespace {

std::string escape(std::string_view text, bool quotes)
{
    std::string out;
    out.reserve(text.size());
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
            out += quotes ? "&quot;" : "\"";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string escapeHtml(std::string_view text)
{
    return escape(text, false);
}

std::string escapeAttribute(std::string_view text)
{
    return escape(text, true);
}

} // namespace mirel::replica
