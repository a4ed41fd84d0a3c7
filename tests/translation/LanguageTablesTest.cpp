#include "translation/LanguageTables.h"
#include "translation/LanguageListChoice.h"
#include "translation/LanguageLookup.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace mirel;
using namespace Qt::StringLiterals;

TEST(EngineTable, NamesAndIndices)
{
    EXPECT_EQ(engineNameList(),
              QStringList({u"Google引擎"_s, u"百度引擎"_s, u"网易引擎"_s, u"雅虎引擎"_s}));
    EXPECT_EQ(engineIndexOf(u"Google引擎"), 0);
    EXPECT_EQ(engineIndexOf(u"雅虎引擎"), 3);
    EXPECT_EQ(engineIndexOf(u"google引擎"), std::nullopt);
    EXPECT_EQ(engineIndexOf(u"百度引擎 "), std::nullopt);
    EXPECT_EQ(engineIndexOf(u""), std::nullopt);
}

TEST(LanguageTables, SizesAndSharedLeadingPositions)
{
    EXPECT_EQ(languageNames(engGoogle).size(), 52);
    EXPECT_EQ(languageNames(engBaidu), QStringList({u"中文"_s, u"英语"_s}));
    EXPECT_EQ(languageNames(engNetease), QStringList({u"中文"_s, u"英语"_s, u"日语"_s}));
    EXPECT_EQ(languageNames(engYahoo), QStringList({u"中文"_s, u"英语"_s, u"日语"_s}));
    EXPECT_TRUE(languageNames(4).isEmpty());
    EXPECT_TRUE(languageNames(-1).isEmpty());

    const QStringList google = languageNames(engGoogle);
    EXPECT_EQ(google.first(3), QStringList({u"中文(简体)"_s, u"英语"_s, u"日语"_s}));
    EXPECT_EQ(google[3], u"中文(繁体)"_s);
    EXPECT_EQ(google[4], u"布尔文(南非荷兰语)"_s);
    EXPECT_EQ(google[18], u"法语"_s);
    EXPECT_EQ(google[51], u"意第绪语"_s);
    // Every name is a unique key of its table.
    for (int engine = 0; engine < EngineCount; ++engine) {
        const QStringList names = languageNames(engine);
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << engine;
    }
}

TEST(LanguageTables, GoogleCodesAndFonts)
{
    int gulimRows = 0;
    for (const LanguageRow &row : GoogleLanguages) {
        if (row.font == u"Gulim") {
            ++gulimRows;
            EXPECT_TRUE(row.name == u"韩语");
        } else {
            EXPECT_TRUE(row.font == u"MS Sans Serif");
        }
    }
    EXPECT_EQ(gulimRows, 1);
    EXPECT_EQ(GetLanguageCode(engGoogle, u"中文(简体)"), "zh-CN");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"中文(繁体)"), "zh-TW");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"布尔文(南非荷兰语)"), "af");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"希伯来语"), "iw");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"韩语"), "ko");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"菲律宾语"), "tl");
    EXPECT_EQ(GetLanguageCode(engGoogle, u"意第绪语"), "yi");
    // Full-width parentheses are a different name.
    EXPECT_EQ(GetLanguageCode(engGoogle, u"中文（简体）"), "");
}

TEST(LanguageLookup, CodesByEngine)
{
    EXPECT_EQ(GetLanguageCode(engGoogle, u"中文"), "");
    EXPECT_EQ(GetLanguageCode(engBaidu, u"中文"), "cn");
    EXPECT_EQ(GetLanguageCode(engBaidu, u"英语"), "en");
    EXPECT_EQ(GetLanguageCode(engBaidu, u"日语"), "");
    EXPECT_EQ(GetLanguageCode(engNetease, u"中文"), "ZH_CN");
    EXPECT_EQ(GetLanguageCode(engNetease, u"英语"), "EN");
    EXPECT_EQ(GetLanguageCode(engNetease, u"日语"), "JA");
    EXPECT_EQ(GetLanguageCode(engYahoo, u"中文"), "zh");
    EXPECT_EQ(GetLanguageCode(engYahoo, u"日语"), "ja");
    EXPECT_EQ(GetLanguageCode(4, u"中文"), "");
    EXPECT_EQ(GetLanguageCode(255, u"中文"), "");
    // Exact names only: no trimming, and codes are not keys.
    EXPECT_EQ(GetLanguageCode(engYahoo, u"中文 "), "");
    EXPECT_EQ(GetLanguageCode(engYahoo, u"zh"), "");
}

TEST(LanguageLookup, FontsOnlyForGoogle)
{
    EXPECT_EQ(GetLanguageFont(engGoogle, u"韩语"), u"Gulim"_s);
    EXPECT_EQ(GetLanguageFont(engGoogle, u"英语"), u"MS Sans Serif"_s);
    EXPECT_EQ(GetLanguageFont(engGoogle, u"中文"), QString());
    EXPECT_EQ(GetLanguageFont(engYahoo, u"中文"), QString());
    EXPECT_EQ(GetLanguageFont(engBaidu, u"英语"), QString());
}

TEST(CheckLanguage, MembershipByEngineName)
{
    EXPECT_FALSE(CheckLanguage(u"Google引擎", u"中文"));
    EXPECT_TRUE(CheckLanguage(u"Google引擎", u"中文(繁体)"));
    EXPECT_TRUE(CheckLanguage(u"网易引擎", u"日语"));
    EXPECT_FALSE(CheckLanguage(u"百度引擎", u"日语"));
    EXPECT_TRUE(CheckLanguage(u"百度引擎", u"英语"));
    EXPECT_FALSE(CheckLanguage(u"雅虎引擎", u"ja"));
    EXPECT_FALSE(CheckLanguage(u"Yahoo", u"中文"));
    EXPECT_FALSE(CheckLanguage(u"", u""));
}

struct ChangeTypeCase
{
    const char *name;
    const char16_t *engine;
    int source, target;
    int expectedSource, expectedTarget;
};

void PrintTo(const ChangeTypeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChangeTypeTest : public testing::TestWithParam<ChangeTypeCase>
{
};

TEST_P(ChangeTypeTest, KeepsLeadingPositionsUpToTheLimit)
{
    const ChangeTypeCase &c = GetParam();
    const std::optional<LanguageListChoice> choice =
        chooseLanguageLists(QStringView(c.engine), c.source, c.target);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->names, languageNames(*engineIndexOf(QStringView(c.engine))));
    EXPECT_EQ(choice->sourcePosition, c.expectedSource);
    EXPECT_EQ(choice->targetPosition, c.expectedTarget);
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, ChangeTypeTest,
    testing::Values(ChangeTypeCase{"FirstShowEmptyLists", u"Google引擎", -1, -1, 0, 1},
                    ChangeTypeCase{"GoogleFrenchJapaneseToYoudao", u"网易引擎", 18, 2, 0, 2},
                    ChangeTypeCase{"GoogleJapaneseChineseToBaidu", u"百度引擎", 2, 0, 0, 0},
                    ChangeTypeCase{"BaiduEnglishChineseToGoogle", u"Google引擎", 1, 0, 1, 0},
                    ChangeTypeCase{"GoogleToGoogleFrenchFallsBack", u"Google引擎", 18, 1, 0, 1},
                    ChangeTypeCase{"GoogleLastRowFallsBack", u"Google引擎", 1, 51, 1, 1},
                    ChangeTypeCase{"BaiduTargetJapaneseFallsBack", u"百度引擎", 1, 2, 1, 1},
                    ChangeTypeCase{"YahooKeepsJapanese", u"雅虎引擎", 2, 1, 2, 1},
                    ChangeTypeCase{"YoudaoTraditionalChineseFallsBack", u"网易引擎", 3, 3, 0, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ChangeType, UnknownEngineChangesNothing)
{
    EXPECT_EQ(chooseLanguageLists(u"Bing引擎", 0, 1), std::nullopt);
    EXPECT_EQ(chooseLanguageLists(u"google引擎", 0, 1), std::nullopt);
    EXPECT_EQ(chooseLanguageLists(u"", -1, -1), std::nullopt);
}
