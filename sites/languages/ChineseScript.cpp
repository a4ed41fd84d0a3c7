#include "sites/languages/ChineseScript.h"

#include <opencc/Exception.hpp>
#include <opencc/SimpleConverter.hpp>

#include <stdexcept>

namespace mirel::siteserver {
namespace {

// The length of the well-formed UTF-8 character at text[at], or 0 for a byte that starts
// none (a stray continuation byte, an overlong form, a surrogate, a cut sequence) and
// for NUL, which OpenCC would take for the end of the text.
size_t characterLength(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead == 0)
        return 0;
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

// Converts each run of well-formed UTF-8 and copies every other byte as it is.
std::string convertRuns(const opencc::SimpleConverter &converter, std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        for (size_t length; end < text.size() && (length = characterLength(text, end)) > 0;)
            end += length;
        if (end > at)
            out += converter.Convert(text.data() + at, end - at);
        if (end < text.size())
            out += text[end++];
        at = end;
    }
    return out;
}

std::unique_ptr<const opencc::SimpleConverter> load(const std::filesystem::path &config)
{
    try {
        return std::make_unique<const opencc::SimpleConverter>(config.string());
    } catch (const opencc::Exception &e) {
        throw std::runtime_error("OpenCC: " + std::string(e.what()));
    }
}

} // namespace

ChineseScript::ChineseScript(const std::filesystem::path &folder)
    : m_toTraditional(load(folder / "s2twp.json")), m_toSimplified(load(folder / "tw2sp.json"))
{
}

ChineseScript::~ChineseScript() = default;

std::string ChineseScript::toTraditional(std::string_view utf8) const
{
    return convertRuns(*m_toTraditional, utf8);
}

std::string ChineseScript::toSimplified(std::string_view utf8) const
{
    return convertRuns(*m_toSimplified, utf8);
}

} // namespace mirel::siteserver
