// The translate command's checks, the engine change, the language swap and Enter, all
// through the window.
#include "TranslateFixture.h"
#include "app/PassageText.h"
#include "app/TPictureLabel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace mirel {
namespace {

const QString Google = QStringLiteral("Google引擎");
const QString Baidu = QStringLiteral("百度引擎");
const QString Youdao = QStringLiteral("网易引擎");
const QString Yahoo = QStringLiteral("雅虎引擎");

const QByteArray AnyPage = test::pageReply("<html></html>", "UTF-8");

enum class Focus { Content, Source, Target };

struct CheckRow
{
    const char *name;
    // The user's picks; an empty source or target is a list left without a selection,
    // and setEngineOnly switches the engine list without refilling the language lists.
    QString engine, source, target, passage;
    QString message;
    Focus focus;
    bool setEngineOnly = false;
};

class TranslateChecks : public test::TranslateFixture, public testing::WithParamInterface<CheckRow>
{
};

TEST_P(TranslateChecks, ShowTheMessageAndMoveTheFocusAfterward)
{
    const CheckRow &row = GetParam();
    if (row.setEngineOnly) {
        pick(window->OLDLanguage, row.source);
        pick(window->NEWLanguage, row.target);
        window->TranslateType->setCurrentText(row.engine);
    } else {
        choose(row.engine, row.source.isEmpty() ? QStringLiteral("英语") : row.source,
               row.target.isEmpty() ? QStringLiteral("英语") : row.target);
        if (row.source.isEmpty())
            window->OLDLanguage->setCurrentIndex(-1);
        if (row.target.isEmpty())
            window->NEWLanguage->setCurrentIndex(-1);
    }
    if (!row.passage.isEmpty())
        typePassage({row.passage});
    window->TranslateResult->setPlainText(QStringLiteral("kept"));
    clickTranslate();

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, row.message);
    EXPECT_EQ(presenter->boxes[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(presenter->boxes[0].icon, mbiInformation);
    // While the box was open the clicked button still had the focus; it moves afterward.
    EXPECT_EQ(presenter->focusWhileShown, std::vector<const QWidget *>{window->TranslateButton});
    const QWidget *expected = row.focus == Focus::Content ? window->TranslateContent
                              : row.focus == Focus::Source
                                  ? static_cast<QWidget *>(window->OLDLanguage)
                                  : window->NEWLanguage;
    EXPECT_TRUE(focusReaches(expected));
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(server->connectionCount(), 0);
}

const QString Text = QStringLiteral("Good morning");

INSTANTIATE_TEST_SUITE_P(
    Table, TranslateChecks,
    testing::Values(
        CheckRow{"EmptyPassage",
                 Google,
                 QStringLiteral("中文(简体)"),
                 QStringLiteral("英语"),
                 {},
                 QStringLiteral("请输入您需要翻译的内容!"),
                 Focus::Content},
        CheckRow{"NoSource",
                 Google,
                 {},
                 QStringLiteral("英语"),
                 Text,
                 QStringLiteral("请选择您要翻译的原始语言!"),
                 Focus::Source},
        CheckRow{"NoTarget",
                 Google,
                 QStringLiteral("中文(简体)"),
                 {},
                 Text,
                 QStringLiteral("请选择您要翻译的语言!"),
                 Focus::Target},
        CheckRow{"SourceNotOfTheEngine", Youdao, QStringLiteral("中文(简体)"),
                 QStringLiteral("英语"), Text, QStringLiteral("您选择的原始语言不正确!"),
                 Focus::Source, true},
        CheckRow{"TargetNotOfTheEngine", Yahoo, QStringLiteral("英语"),
                 QStringLiteral("中文(简体)"), Text, QStringLiteral("您选择的翻译语言不正确"),
                 Focus::Target, true},
        CheckRow{"SameLanguage", Google, QStringLiteral("英语"), QStringLiteral("英语"), Text,
                 QStringLiteral("您选择的两种语言相同,请重新选择!"), Focus::Target},
        CheckRow{"YoudaoEnglishToJapanese", Youdao, QStringLiteral("英语"), QStringLiteral("日语"),
                 Text, QStringLiteral("该引擎不支持日文和英文互译!请重新选择!"), Focus::Target},
        CheckRow{"YahooJapaneseToEnglish", Yahoo, QStringLiteral("日语"), QStringLiteral("英语"),
                 Text, QStringLiteral("该引擎不支持日文和英文互译!请重新选择!"), Focus::Target}),
    [](const testing::TestParamInfo<CheckRow> &info) { return std::string(info.param.name); });

using TranslateCommand = test::TranslateFixture;

// Google 日语 to 中文(简体), then Baidu: both lists fall to "中文", the same language.
TEST_F(TranslateCommand, BaiduWithChineseTwiceAfterAnEngineChange)
{
    choose(Google, QStringLiteral("日语"), QStringLiteral("中文(简体)"));
    pick(window->TranslateType, Baidu);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("中文"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("中文"));
    typePassage({Text});
    clickTranslate();
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, QStringLiteral("您选择的两种语言相同,请重新选择!"));
    EXPECT_TRUE(focusReaches(window->NEWLanguage));
    EXPECT_EQ(server->connectionCount(), 0);
}

// Pairs that pass every check go out; a passage of blanks and line breaks is not empty.
TEST_F(TranslateCommand, PassingPairsGoOut)
{
    struct Pair
    {
        QString engine, source, target;
    };
    const Pair pairs[] = {{Google, QStringLiteral("中文(简体)"), QStringLiteral("中文(繁体)")},
                          {Youdao, QStringLiteral("中文"), QStringLiteral("日语")},
                          {Yahoo, QStringLiteral("日语"), QStringLiteral("中文")}};
    typePassage({QStringLiteral(" "), QString()});
    for (const Pair &pair : pairs) {
        server->replyAndClose(AnyPage);
        choose(pair.engine, pair.source, pair.target);
        clickTranslate();
    }
    EXPECT_TRUE(presenter->boxes.empty());
    EXPECT_EQ(server->requests().size(), 3);
    EXPECT_TRUE(server->requests().value(0).endsWith("text=%20%0D%0A&file=&sl=zh-CN&tl=zh-TW"));
}

TEST_F(TranslateCommand, EngineChangeKeepsChineseEnglishJapaneseOnly)
{
    choose(Google, QStringLiteral("法语"), QStringLiteral("日语"));
    pick(window->TranslateType, Youdao);
    EXPECT_EQ(window->OLDLanguage->count(), 3);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("中文"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("日语"));

    // Picking the same engine again refills the lists all the same.
    choose(Google, QStringLiteral("法语"), QStringLiteral("英语"));
    pick(window->TranslateType, Google);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("中文(简体)"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("英语"));
}

TEST_F(TranslateCommand, SwapIconExchangesTheLanguagesAndNothingElse)
{
    typePassage({Text});
    window->TranslateResult->setPlainText(QStringLiteral("kept"));
    QTest::mouseClick(window->TranslateICO, Qt::LeftButton);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("英语"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("中文(简体)"));
    QTest::mouseClick(window->TranslateICO, Qt::LeftButton);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("中文(简体)"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("英语"));
    EXPECT_EQ(window->TranslateContent->toPlainText(), Text);
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(server->connectionCount(), 0);
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(TranslateCommand, DoubleClickOnTheSwapIconSwapsOnce)
{
    // A double click is one click and one double-click event, as the desktop sends them.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QPoint centre =
        window->TranslateICO->mapTo(window.get(), window->TranslateICO->rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window->OLDLanguage->currentText(), QStringLiteral("英语"));
    EXPECT_EQ(window->NEWLanguage->currentText(), QStringLiteral("中文(简体)"));
}

TEST_F(TranslateCommand, EnterInAListTranslatesEnterInThePassageBreaksTheLine)
{
    typePassage({QStringLiteral("Good")});
    QTest::keyClick(window->TranslateContent, Qt::Key_Return);
    QTest::keyClicks(window->TranslateContent, QStringLiteral("bye"));
    EXPECT_EQ(server->connectionCount(), 0);

    server->replyAndClose(
        test::pageReply("<input name=prev value=\"_t\"><input type=hidden name=gtrans "
                        "value=\"\xE5\x86\x8D\xE8\xA7\x81\"><div id=sug_exp>",
                        "UTF-8"));
    window->NEWLanguage->setFocus();
    ASSERT_TRUE(focusReaches(window->NEWLanguage));
    QTest::keyClick(window->NEWLanguage, Qt::Key_Return);
    ASSERT_EQ(server->requests().size(), 1);
    EXPECT_TRUE(server->requests()[0].contains("&text=Good%0D%0Abye&"));
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("再见"));
}

TEST_F(TranslateCommand, EngineIndexOutsideTheTableSendsNothing)
{
    window->TranslateResult->setPlainText(QStringLiteral("kept"));
    window->TranslateType->setCurrentIndex(-1);
    EXPECT_EQ(window->GetTranslate(Text), QString());
    EXPECT_EQ(server->connectionCount(), 0);
    EXPECT_EQ(window->TranslateResult->toPlainText(), QStringLiteral("kept"));
}

TEST_F(TranslateCommand, CheckLanguageComparesDisplayNames)
{
    EXPECT_FALSE(window->CheckLanguage(Google, QStringLiteral("中文")));
    EXPECT_TRUE(window->CheckLanguage(Youdao, QStringLiteral("日语")));
    EXPECT_FALSE(window->CheckLanguage(Baidu, QStringLiteral("日语")));
    EXPECT_FALSE(window->CheckLanguage(Youdao, QStringLiteral("JA")));
}

// Soft breaks and paragraph breaks both become CR LF; no-break spaces stay.
TEST_F(TranslateCommand, PassageLineBreaksAreCrLf)
{
    typePassage({QStringLiteral("a")});
    QTest::keyClick(window->TranslateContent, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(window->TranslateContent, QStringLiteral("b"));
    QTest::keyClick(window->TranslateContent, Qt::Key_Return);
    window->TranslateContent->insertPlainText(QStringLiteral("c\u00A0d\r\ne"));
    EXPECT_EQ(passageText(*window->TranslateContent), QStringLiteral("a\r\nb\r\nc\u00A0d\r\ne"));
}

} // namespace
} // namespace mirel
