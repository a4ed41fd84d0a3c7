#include "translation/TranslateChecks.h"

#include <gtest/gtest.h>

using namespace mirel;

struct CheckCase
{
    const char *name;
    const char16_t *passage, *source, *target, *engine;
    const char16_t *message; // nullptr: all checks pass
    CheckFocus focus;
};

void PrintTo(const CheckCase &c, std::ostream *os)
{
    *os << c.name;
}

class TranslateChecksTest : public testing::TestWithParam<CheckCase>
{
};

TEST_P(TranslateChecksTest, FirstFailureOrPass)
{
    const CheckCase &c = GetParam();
    const std::optional<CheckFailure> failure =
        firstFailedCheck(QStringView(c.passage), QStringView(c.source), QStringView(c.target),
                         QStringView(c.engine));
    if (!c.message) {
        EXPECT_EQ(failure, std::nullopt);
        return;
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QString::fromUtf16(c.message));
    EXPECT_EQ(failure->focus, c.focus);
}

using enum CheckFocus;
constexpr CheckFocus none = TranslateContent;

INSTANTIATE_TEST_SUITE_P(
    Checks, TranslateChecksTest,
    testing::Values(CheckCase{"EmptyPassageWhateverTheLanguages", u"", u"", u"", u"Bing",
                              u"请输入您需要翻译的内容!", TranslateContent},
                    CheckCase{"EmptySource", u"hi", u"", u"英语", u"Google引擎",
                              u"请选择您要翻译的原始语言!", OLDLanguage},
                    CheckCase{"EmptyTarget", u"hi", u"中文(简体)", u"", u"Google引擎",
                              u"请选择您要翻译的语言!", NEWLanguage},
                    CheckCase{"SourceNotOfEngine", u"hi", u"中文", u"英语", u"Google引擎",
                              u"您选择的原始语言不正确!", OLDLanguage},
                    CheckCase{"UnknownEngineRejectsSource", u"hi", u"中文", u"英语", u"Bing引擎",
                              u"您选择的原始语言不正确!", OLDLanguage},
                    CheckCase{"TargetNotOfEngineHasNoExclamation", u"hi", u"中文", u"日语",
                              u"百度引擎", u"您选择的翻译语言不正确", NEWLanguage},
                    CheckCase{"BaiduChineseTwice", u"hi", u"中文", u"中文", u"百度引擎",
                              u"您选择的两种语言相同,请重新选择!", NEWLanguage},
                    CheckCase{"YoudaoEnglishToJapanese", u"hi", u"英语", u"日语", u"网易引擎",
                              u"该引擎不支持日文和英文互译!请重新选择!", NEWLanguage},
                    CheckCase{"YahooJapaneseToEnglish", u"hi", u"日语", u"英语", u"雅虎引擎",
                              u"该引擎不支持日文和英文互译!请重新选择!", NEWLanguage},
                    CheckCase{"SameLanguageReportedBeforeRestriction", u"hi", u"日语", u"日语",
                              u"网易引擎", u"您选择的两种语言相同,请重新选择!", NEWLanguage},
                    CheckCase{"YoudaoChineseToJapanesePasses", u"hi", u"中文", u"日语", u"网易引擎",
                              nullptr, none},
                    CheckCase{"GoogleSimplifiedToTraditionalPasses", u"你好", u"中文(简体)",
                              u"中文(繁体)", u"Google引擎", nullptr, none},
                    CheckCase{"GoogleEnglishToJapanesePasses", u"hi", u"英语", u"日语",
                              u"Google引擎", nullptr, none},
                    CheckCase{"BlankPassageIsNotEmpty", u" \n", u"英语", u"中文", u"百度引擎",
                              nullptr, none}),
    [](const auto &info) { return std::string(info.param.name); });
