#include "app/PageFiles.h"
#include "dictionary/ResultPage.h"
#include "resources/Resources.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include <optional>

namespace mirel {
namespace {

QByteArray templateBytes()
{
    initResources();
    QFile file(QStringLiteral(":/MYHTML/TRANSLATE"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray utf16le(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QString templateText()
{
    const QByteArray bytes = templateBytes().mid(2);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                              bytes.size() / 2);
}

TEST(PageTemplateBytes, Utf16LittleEndianWithMarkAndCrLfLines)
{
    const QByteArray bytes = templateBytes();
    ASSERT_GT(bytes.size(), 1000);
    EXPECT_EQ(bytes.left(4), QByteArray("\xFF\xFE<\0", 4));
    EXPECT_EQ(bytes.size() % 2, 0);
    EXPECT_EQ(bytes.right(4), QByteArray("\r\0\n\0", 4));
    const QString text = templateText();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == u'\r') << "bare LF at " << i;
        }
        if (text[i] == u'\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "bare CR at " << i;
        }
    }
}

TEST(PageTemplateBytes, FifteenSlotsAndNoOtherPercent)
{
    const QString text = templateText();
    EXPECT_EQ(text.count(QStringLiteral("%s")), 15);
    EXPECT_EQ(text.count(u'%'), 15);
    EXPECT_FALSE(text.contains(QStringLiteral("<!DOCTYPE"), Qt::CaseInsensitive));
}

TEST(PageTemplateBytes, FixedTextsStandAsTheyAre)
{
    const QByteArray bytes = templateBytes();
    for (const QString &line : {
             QStringLiteral("<title>Mirel免费翻译软件</title>\r\n"),
             QStringLiteral("<body topmargin=\"0\" leftmargin=\"0\" rightmargin=\"0\" "
                            "bottommargin=\"0\" marginwidth=\"0\" marginheight=\"0\">\r\n"),
             QStringLiteral("var pagestate = \"%s\";\r\n"),
             QStringLiteral("    alert(\"您选择的英文段落太长,无法朗读!\");\r\n"),
             QStringLiteral("\"http://translate.google.cn/translate_tts?tl=en&q=\" + text;"),
             QStringLiteral("<div id=\"help\" class=\"help\">请输入您要查询的单词，点击“翻译”！"
                            "</div>\r\n"),
             QStringLiteral("<div id=\"line\" class=\"line\">[网络例句]</div>\r\n"),
             QStringLiteral("classid=\"clsid:6BF52A52-394A-11D3-B153-00C04F79FAA6\" width=\"0\" "
                            "height=\"0\">\r\n<param name=\"url\" value=\"\">\r\n"),
         })
        EXPECT_TRUE(bytes.contains(utf16le(line))) << line.toStdString();
    // The rule picture is named as the file is written, so it resolves on Linux.
    EXPECT_EQ(templateText().count(QStringLiteral("url(Line.gif)")), 2);
}

// A page that records alerts instead of showing them.
class RecordingPage : public QWebEnginePage
{
public:
    QStringList alerts;

protected:
    void javaScriptAlert(const QUrl &, const QString &message) override { alerts << message; }
};

class PageTemplateScript : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + u'/';
        writePageFiles(WebFolder::at(folder));
    }

    // The template with its slots filled in order, as a lookup writes it.
    void loadFilled(const QStringList &values)
    {
        QString text = templateText();
        for (const QString &value : values)
            text.replace(text.indexOf(QStringLiteral("%s")), 2, value);
        QFile file(folder + QStringLiteral("Temp.html"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xFE" + utf16le(text));
        file.close();
        load(folder + QStringLiteral("Temp.html"));
    }

    void load(const QString &path)
    {
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl::fromLocalFile(path));
        ASSERT_TRUE(loaded.wait(30000));
        ASSERT_TRUE(loaded.first().first().toBool());
    }

    QVariant run(const QString &script)
    {
        std::optional<QVariant> result;
        page.runJavaScript(script, [&result](const QVariant &v) { result = v; });
        EXPECT_TRUE(QTest::qWaitFor([&result] { return result.has_value(); }, 10000));
        return result.value_or(QVariant());
    }

    QString display(const char *id)
    {
        return run(QStringLiteral("document.getElementById('%1').style.display")
                       .arg(QLatin1String(id)))
            .toString();
    }

    QTemporaryDir dir;
    QString folder;
    RecordingPage page;
};

TEST_F(PageTemplateScript, TemplateItselfShowsOnlyTheHelp)
{
    load(folder + QStringLiteral("Translate.html"));
    EXPECT_EQ(display("help"), QStringLiteral("block"));
    EXPECT_EQ(display("body"), QStringLiteral("none"));
    EXPECT_EQ(run(QStringLiteral("document.title")).toString(),
              QStringLiteral("Mirel免费翻译软件"));
}

TEST_F(PageTemplateScript, FilledPageShowsTheBodyAndHidesSoundForChineseWord)
{
    QStringList values(15, QString());
    values[0] = QStringLiteral("true");
    values[1] = values[3] = values[14] = QStringLiteral("中文");
    loadFilled(values);
    EXPECT_EQ(display("body"), QStringLiteral("block"));
    EXPECT_EQ(display("help"), QStringLiteral("none"));
    EXPECT_EQ(display("sound"), QStringLiteral("none"));
    // The rule picture is found under the style sheet's name.
    run(QStringLiteral("var rule = new Image(); rule.onload = function () { window.ruleWidth = "
                       "rule.width; }; rule.onerror = function () { window.ruleWidth = -1; }; "
                       "rule.src = 'Line.gif'; 0"));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return run(QStringLiteral("window.ruleWidth || 0")).toInt() != 0; }, 10000));
    EXPECT_EQ(run(QStringLiteral("window.ruleWidth")).toInt(), 347);
}

TEST_F(PageTemplateScript, PlayHandsShortTextToThePlayerAndRefusesLongText)
{
    QStringList values(15, QString());
    values[0] = QStringLiteral("true");
    values[1] = values[3] = values[14] = QStringLiteral("ice");
    loadFilled(values);
    EXPECT_EQ(display("sound"), QString());
    const QString hundred(100, u'a');
    run(QStringLiteral("Play('%1')").arg(hundred));
    EXPECT_EQ(run(QStringLiteral("MediaPlayer.url")).toString(),
              QStringLiteral("http://translate.google.cn/translate_tts?tl=en&q=") + hundred);
    EXPECT_TRUE(page.alerts.isEmpty());
    run(QStringLiteral("Play('%1')").arg(hundred + u'b'));
    EXPECT_EQ(page.alerts, QStringList{QStringLiteral("您选择的英文段落太长,无法朗读!")});
    EXPECT_EQ(run(QStringLiteral("isChinese('')")).toBool(), true);
    EXPECT_EQ(run(QStringLiteral("isChinese('中a')")).toBool(), false);
}

// The sentence as shown counts 100 characters; its reference must not count as five.
TEST_F(PageTemplateScript, ExampleLinkSpeaksTheShownSentence)
{
    WordRecord record;
    record.word = "apple";
    const QByteArray padding(80, 'x');
    record.examples = {{"I don&#39;t <b>like</b> apples." + padding, "c"}};
    loadFilled(resultPageSlots(record));
    run(QStringLiteral("document.querySelector('#imageslist a').click(); 0"));
    const QString expected = QStringLiteral("http://translate.google.cn/translate_tts?tl=en&q=") +
                             QStringLiteral("I don't like apples.") + QString::fromLatin1(padding);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return run(QStringLiteral("MediaPlayer.url")).toString() == expected; }, 10000))
        << run(QStringLiteral("MediaPlayer.url")).toString().toStdString();
    EXPECT_TRUE(page.alerts.isEmpty());
}

} // namespace
} // namespace mirel
