#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::sites {

// Cuts a passage into pieces of at most maxBytes bytes that a service accepts in one
// request; the pieces joined in order give the passage back exactly. A piece ends after
// the last line break within reach, else after the last sentence end (. ! ? ; and their
// full-width forms, with the blanks after them), else after the last blank, else at the
// last character boundary: a UTF-8 sequence is never cut. A passage within the limit is
// one piece; the empty passage is none.
std::vector<std::string_view> cutPassage(std::string_view passage, size_t maxBytes);

// A piece without the blanks and line breaks around it, and those blanks, so that a
// service's answer can be put back between them as the source had them.
struct Trimmed
{
    std::string_view lead;
    std::string_view core;
    std::string_view trail;
};
Trimmed trimBlanks(std::string_view text);

} // namespace mirel::sites
