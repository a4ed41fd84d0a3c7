#pragma once

#include <string>
#include <string_view>

namespace mirel::siteserver {

// A short mono 16-bit 16 kHz PCM WAV file that "says" the text: one soft tone per word
// (at most twelve), its pitch taken from the word's letters. Never longer than three
// seconds.
std::string speechClip(std::string_view text);

} // namespace mirel::siteserver
