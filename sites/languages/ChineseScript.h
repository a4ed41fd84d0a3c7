#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace opencc {
class SimpleConverter;
}

namespace mirel::siteserver {

// Simplified <-> traditional Chinese through OpenCC, phrase by phrase, with Taiwan's
// usage on the traditional side (s2twp: 软件 -> 軟體, 头发 -> 頭髮; tw2sp back). Only
// Chinese characters and phrases change: punctuation, Latin text, blanks and line ends
// stay byte for byte, and so do bytes that are not UTF-8.
//
// The dictionaries are loaded once; OpenCC's converters only read them while
// converting (each match uses its own cursor), so one object serves every thread.
class ChineseScript
{
public:
    // Where Debian's libopencc-data puts the configurations and dictionaries.
    static constexpr const char *DefaultFolder = "/usr/share/opencc";

    // Loads the two configurations from the folder; throws std::runtime_error naming
    // what is missing (libopencc-data not installed, a damaged file).
    explicit ChineseScript(const std::filesystem::path &folder = DefaultFolder);
    ~ChineseScript();
    ChineseScript(const ChineseScript &) = delete;
    ChineseScript &operator=(const ChineseScript &) = delete;

    std::string toTraditional(std::string_view utf8) const;
    std::string toSimplified(std::string_view utf8) const;

private:
    std::unique_ptr<const opencc::SimpleConverter> m_toTraditional;
    std::unique_ptr<const opencc::SimpleConverter> m_toSimplified;
};

} // namespace mirel::siteserver
