// The Google table row by row: position, code, display name and result-box font.
#include "translation/LanguageLookup.h"
#include "translation/LanguageTables.h"

#include <gtest/gtest.h>

using namespace mirel;

namespace {

struct GoogleRow
{
    const char *code;
    const char16_t *name;
};

// In list order; the font is "Gulim" for Korean and "MS Sans Serif" for every other row.
const GoogleRow kGoogle[] = {
    {"zh-CN", u"中文(简体)"},
    {"en", u"英语"},
    {"ja", u"日语"},
    {"zh-TW", u"中文(繁体)"},
    {"af", u"布尔文(南非荷兰语)"},
    {"ar", u"阿拉伯语"},
    {"be", u"白俄罗斯语"},
    {"bg", u"保加利亚语"},
    {"ca", u"加泰罗尼亚语"},
    {"cs", u"捷克语"},
    {"cy", u"威尔士语"},
    {"da", u"丹麦语"},
    {"de", u"德语"},
    {"el", u"希腊语"},
    {"es", u"西班牙语"},
    {"et", u"爱沙尼亚语"},
    {"fa", u"波斯语"},
    {"fi", u"芬兰语"},
    {"fr", u"法语"},
    {"ga", u"爱尔兰语"},
    {"gl", u"加利西亚语"},
    {"hi", u"印地语"},
    {"hr", u"克罗地亚语"},
    {"hu", u"匈牙利语"},
    {"id", u"印尼语"},
    {"is", u"冰岛语"},
    {"it", u"意大利语"},
    {"iw", u"希伯来语"},
    {"ko", u"韩语"},
    {"lt", u"立陶宛语"},
    {"lv", u"拉脱维亚语"},
    {"mk", u"马其顿语"},
    {"ms", u"马来语"},
    {"mt", u"马耳他语"},
    {"nl", u"荷兰语"},
    {"no", u"挪威语"},
    {"pl", u"波兰语"},
    {"pt", u"葡萄牙语"},
    {"ro", u"罗马尼亚语"},
    {"ru", u"俄语"},
    {"sk", u"斯洛伐克语"},
    {"sl", u"斯洛文尼亚语"},
    {"sq", u"阿尔巴尼亚语"},
    {"sr", u"塞尔维亚语"},
    {"sv", u"瑞典语"},
    {"sw", u"斯瓦希里语"},
    {"th", u"泰语"},
    {"tl", u"菲律宾语"},
    {"tr", u"土耳其语"},
    {"uk", u"乌克兰语"},
    {"vi", u"越南语"},
    {"yi", u"意第绪语"},
};

} // namespace

TEST(GoogleTable, EveryRowHasItsPositionCodeAndFont)
{
    const QStringList names = languageNames(engGoogle);
    ASSERT_EQ(names.size(), qsizetype(std::size(kGoogle)));
    for (int position = 0; position < names.size(); ++position) {
        const GoogleRow &row = kGoogle[position];
        const QString name = QString::fromUtf16(row.name);
        const bool korean = std::string_view(row.code) == "ko";
        EXPECT_EQ(names[position], name) << position;
        EXPECT_EQ(GetLanguageCode(engGoogle, name), QByteArray(row.code)) << position;
        EXPECT_EQ(GetLanguageFont(engGoogle, name),
                  korean ? QStringLiteral("Gulim") : QStringLiteral("MS Sans Serif"))
            << position;
    }
}
