#pragma once

#include <QtGlobal>

#include <array>
#include <span>
#include <string_view>

namespace mirel {

// Position of an engine in EngineNames, equal to the position of the engine list.
enum EngineIndex : quint8 { engGoogle = 0, engBaidu = 1, engNetease = 2, engYahoo = 3 };

inline constexpr int EngineCount = 4;

inline constexpr std::array<std::u16string_view, EngineCount> EngineNames = {
    u"Google引擎", u"百度引擎", u"网易引擎", u"雅虎引擎"};

// One language of an engine: the code its form expects, the name the lists show and,
// for Google only, the font of the result box.
struct LanguageRow
{
    std::string_view code;
    std::u16string_view name;
    std::u16string_view font = {};
};

inline constexpr std::u16string_view GoogleFont = u"MS Sans Serif";
inline constexpr std::u16string_view GoogleKoreanFont = u"Gulim";

inline constexpr std::array<LanguageRow, 52> GoogleLanguages = {{
    {"zh-CN", u"中文(简体)", GoogleFont},
    {"en", u"英语", GoogleFont},
    {"ja", u"日语", GoogleFont},
    {"zh-TW", u"中文(繁体)", GoogleFont},
    {"af", u"布尔文(南非荷兰语)", GoogleFont},
    {"ar", u"阿拉伯语", GoogleFont},
    {"be", u"白俄罗斯语", GoogleFont},
    {"bg", u"保加利亚语", GoogleFont},
    {"ca", u"加泰罗尼亚语", GoogleFont},
    {"cs", u"捷克语", GoogleFont},
    {"cy", u"威尔士语", GoogleFont},
    {"da", u"丹麦语", GoogleFont},
    {"de", u"德语", GoogleFont},
    {"el", u"希腊语", GoogleFont},
    {"es", u"西班牙语", GoogleFont},
    {"et", u"爱沙尼亚语", GoogleFont},
    {"fa", u"波斯语", GoogleFont},
    {"fi", u"芬兰语", GoogleFont},
    {"fr", u"法语", GoogleFont},
    {"ga", u"爱尔兰语", GoogleFont},
    {"gl", u"加利西亚语", GoogleFont},
    {"hi", u"印地语", GoogleFont},
    {"hr", u"克罗地亚语", GoogleFont},
    {"hu", u"匈牙利语", GoogleFont},
    {"id", u"印尼语", GoogleFont},
    {"is", u"冰岛语", GoogleFont},
    {"it", u"意大利语", GoogleFont},
    {"iw", u"希伯来语", GoogleFont},
    {"ko", u"韩语", GoogleKoreanFont},
    {"lt", u"立陶宛语", GoogleFont},
    {"lv", u"拉脱维亚语", GoogleFont},
    {"mk", u"马其顿语", GoogleFont},
    {"ms", u"马来语", GoogleFont},
    {"mt", u"马耳他语", GoogleFont},
    {"nl", u"荷兰语", GoogleFont},
    {"no", u"挪威语", GoogleFont},
    {"pl", u"波兰语", GoogleFont},
    {"pt", u"葡萄牙语", GoogleFont},
    {"ro", u"罗马尼亚语", GoogleFont},
    {"ru", u"俄语", GoogleFont},
    {"sk", u"斯洛伐克语", GoogleFont},
    {"sl", u"斯洛文尼亚语", GoogleFont},
    {"sq", u"阿尔巴尼亚语", GoogleFont},
    {"sr", u"塞尔维亚语", GoogleFont},
    {"sv", u"瑞典语", GoogleFont},
    {"sw", u"斯瓦希里语", GoogleFont},
    {"th", u"泰语", GoogleFont},
    {"tl", u"菲律宾语", GoogleFont},
    {"tr", u"土耳其语", GoogleFont},
    {"uk", u"乌克兰语", GoogleFont},
    {"vi", u"越南语", GoogleFont},
    {"yi", u"意第绪语", GoogleFont},
}};

inline constexpr std::array<LanguageRow, 2> BaiduLanguages = {{
    {"cn", u"中文"},
    {"en", u"英语"},
}};

inline constexpr std::array<LanguageRow, 3> NeteaseLanguages = {{
    {"ZH_CN", u"中文"},
    {"EN", u"英语"},
    {"JA", u"日语"},
}};

inline constexpr std::array<LanguageRow, 3> YahooLanguages = {{
    {"zh", u"中文"},
    {"en", u"英语"},
    {"ja", u"日语"},
}};

// The language table of an engine; empty for an index outside 0 to 3.
constexpr std::span<const LanguageRow> languageTable(int engineIndex)
{
    switch (engineIndex) {
    case engGoogle:
        return GoogleLanguages;
    case engBaidu:
        return BaiduLanguages;
    case engNetease:
        return NeteaseLanguages;
    case engYahoo:
        return YahooLanguages;
    default:
        return {};
    }
}

// How many of the leading positions (Chinese, English, Japanese) survive a change to
// this engine: positions 0 to the limit are kept.
constexpr int keepLimit(int engineIndex)
{
    return engineIndex == engBaidu ? 1 : 2;
}

} // namespace mirel
