#include "sites/local/Glossary.h"
#include "sites/local/GlossaryBackend.h"

#include <gtest/gtest.h>

using namespace mirel::siteserver;
using namespace Qt::StringLiterals;

namespace {

QString tr(const char *text, Language from, Language to)
{
    static const Glossary glossary(readGlossaryRows(MIREL_SITES_SOURCE_DATA));
    return glossary.translate(QString::fromUtf8(text), from, to);
}

} // namespace

TEST(Translator, LongestPhraseWinsAndSentencesReadNaturally)
{
    EXPECT_EQ(tr("我喜欢苹果和茶。", Language::Chinese, Language::English),
              u"I like apple and tea."_s);
    EXPECT_EQ(tr("Thank you very much!", Language::English, Language::Japanese),
              u"どうもありがとうございます！"_s);
    EXPECT_EQ(tr("good morning, friend", Language::English, Language::Chinese), u"早上好，朋友"_s);
    EXPECT_EQ(tr("ありがとう", Language::Japanese, Language::Chinese), u"谢谢"_s);
}

TEST(Translator, UnknownWordsAreMarkedNotLost)
{
    EXPECT_EQ(tr("I like Zorblax books", Language::English, Language::Chinese),
              u"我喜欢[Zorblax]书"_s);
    EXPECT_EQ(tr("我喜欢饕餮", Language::Chinese, Language::English), u"I like [饕餮]"_s);
    // A language without a glossary column: everything is carried over, marked.
    EXPECT_EQ(tr("你好", Language::Chinese, Language::Unsupported), u"[你好]"_s);
}

TEST(Translator, LineBreaksAndLatinNamesSurvive)
{
    EXPECT_EQ(tr("你好\r\n谢谢\n", Language::Chinese, Language::English),
              u"Hello\r\nThank you\n"_s);
    EXPECT_EQ(tr("我用Mirel翻译", Language::Chinese, Language::English),
              u"I use Mirel translate"_s);
}

TEST(Translator, MarksAndSymbolsKeepTheirPlace)
{
    EXPECT_EQ(tr("我说\"谢谢\" (苹果) & 再见!", Language::Chinese, Language::English),
              u"I say \"thank you\" (apple) & goodbye!"_s);
    EXPECT_EQ(tr("他说\"你好\"", Language::Chinese, Language::Japanese), u"彼言う“こんにちは”"_s);
}

TEST(Translator, TraditionalChineseThroughOpenCc)
{
    const GlossaryBackend glossary(Glossary(readGlossaryRows(MIREL_SITES_SOURCE_DATA)),
                                   std::make_shared<const ChineseScript>());
    const auto translate = [&](const char *text, const char *from, const char *to) {
        return glossary.translate(text, {from, to}, Clock::now()).text;
    };
    EXPECT_EQ(translate("translation software", "en", "zh-TW"), "翻譯軟體");
    EXPECT_EQ(translate("翻譯軟體", "zh-TW", "en"), "Translation software");
    EXPECT_EQ(glossary.offers({"zh-CN", "zh-TW"}), Offer::No); // OpenCC's alone
    const GlossaryBackend without(Glossary(readGlossaryRows(MIREL_SITES_SOURCE_DATA)));
    EXPECT_EQ(without.offers({"en", "zh-TW"}), Offer::No);
}
