#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// Apertium marks a word it could not handle: "*word" (unknown, the source's word), "@word"
// (no translation, the source's lemma), "#word" (a translated lemma it could not inflect).
// To show the source's word instead, the text is translated a second time with each word
// in a numbered inline tag, which Apertium carries to the words it makes of it.

// The source as HTML with its words numbered: "<i id=\"0\">Hello</i>, ..." and the words.
struct NumberedWords
{
    std::string html;
    std::vector<std::string> words;
};
NumberedWords numberedWords(std::string_view source);

// Whether the text holds a mark of Apertium that is not in the source.
bool hasMarks(std::string_view source, std::string_view translation);

// The translation with each marked word replaced by the source's word it came from (found
// in numbered, the translation of numberedWords(source).html); where that cannot be told,
// the word without its mark. Marks standing alone are dropped.
std::string withSourceWords(std::string_view source, std::string_view translation,
                            std::string_view numbered, const std::vector<std::string> &words);

} // namespace mirel::siteserver
