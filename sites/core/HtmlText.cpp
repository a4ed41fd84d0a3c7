#include "sites/core/HtmlText.h"

namespace mirel::siteserver {
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

} // namespace mirel::siteserver

namespace mirel::siteserver {

std::string withoutMarkers(std::string_view text, std::initializer_list<std::string_view> markers)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        bool marker = false;
        for (const std::string_view m : markers)
            marker = marker || (!m.empty() && text.substr(i, m.size()) == m);
        if (marker)
            out += "&#" + std::to_string(static_cast<unsigned char>(text[i])) + ";";
        else
            out += text[i];
    }
    return out;
}

} // namespace mirel::siteserver
