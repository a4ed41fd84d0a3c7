#include "sites/dictionary/WavTone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace mirel::siteserver {
namespace {

constexpr int kRate = 16000;
constexpr int kToneMs = 180;
constexpr int kGapMs = 60;
constexpr size_t kMaxWords = 12;

void put16(std::string &out, uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void put32(std::string &out, uint32_t v)
{
    put16(out, uint16_t(v & 0xFFFF));
    put16(out, uint16_t(v >> 16));
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> list;
    size_t i = 0;
    while (i < text.size() && list.size() < kMaxWords) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '+'))
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '+')
            ++i;
        if (i > start)
            list.push_back(text.substr(start, i - start));
    }
    if (list.empty())
        list.push_back(text);
    return list;
}

} // namespace

std::string speechClip(std::string_view text)
{
    std::vector<int16_t> samples;
    for (const std::string_view word : words(text)) {
        unsigned sum = 0;
        for (const char c : word)
            sum = sum * 31 + static_cast<unsigned char>(c);
        const double freq = 220.0 + double(sum % 24) * 15.0;
        const int toneSamples = kRate * kToneMs / 1000;
        for (int n = 0; n < toneSamples; ++n) {
            // Raised-cosine envelope: no clicks at the edges.
            const double env = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / toneSamples);
            const double s = std::sin(2.0 * std::numbers::pi * freq * n / kRate);
            samples.push_back(int16_t(std::lround(9000.0 * env * s)));
        }
        samples.insert(samples.end(), size_t(kRate * kGapMs / 1000), int16_t(0));
    }

    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string wav;
    wav.reserve(44 + dataBytes);
    wav += "RIFF";
    put32(wav, 36 + dataBytes);
    wav += "WAVEfmt ";
    put32(wav, 16);        // fmt chunk size
    put16(wav, 1);         // PCM
    put16(wav, 1);         // mono
    put32(wav, kRate);     // sample rate
    put32(wav, kRate * 2); // byte rate
    put16(wav, 2);         // block align
    put16(wav, 16);        // bits per sample
    wav += "data";
    put32(wav, dataBytes);
    for (const int16_t s : samples)
        put16(wav, uint16_t(s));
    return wav;
}

} // namespace mirel::siteserver
