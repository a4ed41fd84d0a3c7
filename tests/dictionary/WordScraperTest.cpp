#include "dictionary/WordScraper.h"
#include "DictionaryFixtures.h"
#include "dictionary/ExampleBlocks.h"
#include "util/TRegexMatcher.h"
#include "util/TextCodec.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace mirel;
using namespace mirel::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray gbk(const QString &text)
{
    return toGbk(text);
}

// A record of the foreign layout with one example.
QByteArray oneExamplePage(const QString &headword, const QString &phonetic,
                          const QStringList &translations)
{
    return foreignWordPage(headword, phonetic, translations, {{u"A b."_s, u"甲乙。"_s}});
}

QByteArray field(const QByteArray &record, const QByteArray &tag)
{
    const qsizetype open = record.indexOf('<' + tag + '>');
    if (open < 0)
        return "<missing>";
    const qsizetype from = open + tag.size() + 2;
    return record.mid(from, record.indexOf("</" + tag + '>', from) - from);
}

} // namespace

TEST(WordScraper, ForeignWordGroupsEnglishFirst)
{
    const QByteArray record = scrapeWord("apple", dictionaryFixture("apple.html"));
    EXPECT_EQ(record, gbk(u"<WORD>apple</WORD><PHONETIC>"_s) + QByteArray("[\xCB\x88\xC3\xA6pl]") +
                          gbk(u"</PHONETIC><TRANSLATE>苹果<BR>苹果树<BR>苹果公司</TRANSLATE>"
                              u"<IMAGESEN1>An apple a day keeps the doctor away.</IMAGESEN1>"
                              u"<IMAGESCN1>一天一个苹果，医生远离我。</IMAGESCN1>"
                              u"<IMAGESEN2>She's eating an apple.</IMAGESEN2>"
                              u"<IMAGESCN2>她正在吃苹果。</IMAGESCN2>"
                              u"<IMAGESEN3>The apple of my eye.</IMAGESEN3>"
                              u"<IMAGESCN3>我的掌上明珠。</IMAGESCN3>"_s));
}

TEST(WordScraper, ChineseWordGroupsChineseFirst)
{
    const QByteArray record = scrapeWord(gbk(u"苹果"_s), dictionaryFixture("pingguo.html"));
    EXPECT_EQ(record, gbk(u"<WORD>苹果</WORD><PHONETIC>"_s) + QString(u"[píng guǒ]"_s).toUtf8() +
                          gbk(u"</PHONETIC><TRANSLATE>apple malus<BR>pomaceous fruit</TRANSLATE>"
                              u"<IMAGESCN1>我喜欢吃苹果。</IMAGESCN1>"
                              u"<IMAGESEN1>I like eating apples.</IMAGESEN1>"
                              u"<IMAGESCN2>这个苹果很甜。</IMAGESCN2>"
                              u"<IMAGESEN2>This apple is very sweet.</IMAGESEN2>"_s));
}

TEST(WordScraper, EveryExampleBlockGivesAGroup)
{
    QList<std::pair<QString, QString>> examples;
    for (int i = 1; i <= 5; ++i)
        examples.append({u"Sentence "_s + QString::number(i), u"句子"_s + QString::number(i)});
    const QByteArray record =
        scrapeWord("word", foreignWordPage(u"word"_s, u"w"_s, {u"词"_s}, examples));
    EXPECT_TRUE(record.endsWith(gbk(u"<IMAGESEN5>Sentence 5</IMAGESEN5>"
                                    u"<IMAGESCN5>句子5</IMAGESCN5>"_s)));
    EXPECT_EQ(field(record, "IMAGESEN4"), "Sentence 4");
    EXPECT_EQ(record.count("<IMAGESEN"), 5);
}

TEST(WordScraper, HeadwordLimitAndFallback)
{
    const QString hundred(100, u'a');
    EXPECT_EQ(field(scrapeWord("x", oneExamplePage(hundred, u"p"_s, {u"t"_s})), "WORD"),
              hundred.toLatin1());
    // Over the limit the headword is emptied and the record still returned.
    const QByteArray over = scrapeWord("x", oneExamplePage(hundred + u'a', u"p"_s, {u"t"_s}));
    EXPECT_EQ(field(over, "WORD"), "");
    EXPECT_EQ(field(over, "TRANSLATE"), "t");
    // No headword on the page: the word looked up, without its CR LF pairs.
    QByteArray page = oneExamplePage(u"gone"_s, u"p"_s, {u"t"_s});
    page.replace("<font class=dict18black>", "<font>");
    EXPECT_EQ(field(scrapeWord("ice\r\ncream", page), "WORD"), "icecream");
}

TEST(WordScraper, PhoneticLimitCountsUtf8Bytes)
{
    // "ə" is two UTF-8 bytes.
    const QString fifty(50, QChar(0x0259));
    EXPECT_EQ(field(scrapeWord("x", oneExamplePage(u"x"_s, fifty, {u"t"_s})), "PHONETIC"),
              fifty.toUtf8());
    EXPECT_EQ(field(scrapeWord("x", oneExamplePage(u"x"_s, fifty + u'a', {u"t"_s})), "PHONETIC"),
              "");
}

TEST(WordScraper, TranslationLimitEmptiesTheRecord)
{
    // Two entries joined by "<BR>": 98 + 4 + 98 = 200 bytes.
    const QString entry(98, u't');
    const QByteArray atLimit = scrapeWord("x", oneExamplePage(u"x"_s, u"p"_s, {entry, entry}));
    EXPECT_EQ(field(atLimit, "TRANSLATE").size(), 200);
    EXPECT_TRUE(scrapeWord("x", oneExamplePage(u"x"_s, u"p"_s, {entry, entry + u't'})).isEmpty());
}

TEST(WordScraper, EmptyTranslationOrNoExampleGivesNothing)
{
    EXPECT_TRUE(scrapeWord("x", oneExamplePage(u"x"_s, u"p"_s, {})).isEmpty());
    EXPECT_TRUE(scrapeWord("x", foreignWordPage(u"x"_s, u"p"_s, {u"t"_s}, {})).isEmpty());
    // An empty entry between two others is kept as an empty line of the list.
    EXPECT_EQ(
        field(scrapeWord("x", oneExamplePage(u"x"_s, u"p"_s, {u"a"_s, {}, u"b"_s})), "TRANSLATE"),
        "a<BR><BR>b");
}

TEST(WordScraper, EmptyAndMalformedBodies)
{
    EXPECT_TRUE(scrapeWord("apple", QByteArray()).isEmpty());
    QByteArray broken = dictionaryFixture("apple.html");
    broken.replace("<title>", "<title>\xC3\x28");
    EXPECT_TRUE(scrapeWord("apple", broken).isEmpty());
}

TEST(WordScraper, NotFoundSentenceIgnoresAsciiCase)
{
    EXPECT_TRUE(scrapeWord("apple", dictionaryFixture("notfound.html")).isEmpty());
    EXPECT_TRUE(scrapeWord("APPLE", dictionaryFixture("notfound.html")).isEmpty());
    // The same page for another word is read as a result.
    EXPECT_FALSE(scrapeWord("pear", dictionaryFixture("notfound.html")).isEmpty());
}

// The blocks are those of the lazy pattern search the page layout was first read with, on
// sections made of markers, their prefixes and text in random order.
TEST(ExampleBlocks, SameAsTheLazyPatternSearch)
{
    static const QByteArray pieces[] = {
        "<div id=\"ssResultDiv", "<div class=space7>", "<div ", "<div id=\"ssResult", "x\n",
        "<span>a</span>"};
    QRandomGenerator random(18);
    for (int round = 0; round < 500; ++round) {
        QByteArray section;
        for (int n = int(random.bounded(12)); n > 0; --n)
            section += pieces[random.bounded(int(std::size(pieces)))];
        TRegexMatcher matcher;
        matcher.setOptions(matcher.options() | preSingleLine);
        matcher.setSubject(section);
        matcher.setRegEx("<div id=\"ssResultDiv.*?<div class=space7>");
        QList<QByteArray> expected;
        for (bool found = matcher.match(); found; found = matcher.matchAgain())
            expected.append(matcher.matchedText());
        QList<QByteArray> blocks;
        for (const QByteArrayView block : exampleBlocks(section))
            blocks.append(block.toByteArray());
        ASSERT_EQ(blocks, expected) << section.constData();
    }
}

TEST(WordScraper, StartMarkersWithoutEndTakeLinearTime)
{
    QByteArray page = oneExamplePage(u"x"_s, u"p"_s, {u"t"_s});
    QByteArray flood;
    while (flood.size() < 1024 * 1024)
        flood += "<div id=\"ssResultDiv";
    page.insert(page.indexOf("</td></tr><tr><td><a href=\"/example\">"), flood);
    QElapsedTimer clock;
    clock.start();
    const QByteArray record = scrapeWord("x", page);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(field(record, "IMAGESEN1"), "A b.");
    EXPECT_EQ(record.count("<IMAGESEN"), 1);
}
