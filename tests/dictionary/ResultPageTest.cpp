#include "dictionary/ResultPage.h"
#include "DictionaryFixtures.h"
#include "util/Errors.h"
#include "util/TextCodec.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace mirel;
using namespace mirel::test;
using namespace Qt::StringLiterals;

namespace {

// The fixture template as the program stores it: UTF-16LE with its mark.
QByteArray templateBytes()
{
    return "\xFF\xFE" + utf16le(QString::fromUtf8(dictionaryFixture("template.html")));
}

QByteArray pageBytes(const QString &crlfText)
{
    return "\xFF\xFE" + utf16le(crlfText);
}

const QByteArray phoneticUtf8 = "[\xCB\x88\xC3\xA6pl]"; // [ˈæpl]

// The text between the n-th "Play('" and the "')" after it, \u escapes undone.
QString playArgument(const QString &page, int n)
{
    qsizetype at = -1;
    for (int i = 0; i < n; ++i)
        at = page.indexOf(u"Play('"_s, at + 1);
    const qsizetype from = at + 6;
    const QString raw = page.mid(from, page.indexOf(u"')"_s, from) - from);
    EXPECT_FALSE(raw.contains(u'\'') || raw.contains(u'"') || raw.contains(u'<') ||
                 raw.contains(u'&') || raw.contains(u'%'))
        << raw.toStdString();
    QString text;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && raw.mid(i + 1, 1) == u"u") {
            text += QChar(raw.mid(i + 2, 4).toUShort(nullptr, 16));
            i += 5;
        } else {
            text += raw[i];
        }
    }
    return text;
}

} // namespace

TEST(ResultPage, TwoGroupsLeaveTheThirdRowEmpty)
{
    const QByteArray record =
        toGbk(u"<WORD>apple</WORD><PHONETIC>"_s) + phoneticUtf8 +
        toGbk(u"</PHONETIC><TRANSLATE>苹果<BR>苹果树</TRANSLATE>"
              u"<IMAGESEN1>An <i>apple</i>, \"red\".</IMAGESEN1><IMAGESCN1>一个红苹果。</IMAGESCN1>"
              u"<IMAGESEN2>She's eating.</IMAGESEN2><IMAGESCN2>她在吃。</IMAGESCN2>"_s);
    const QString expected =
        u"<html><head><title>Mirel免费翻译软件</title></head><body>\r\n"
        u"<script>var pagestate = \"true\";</script>\r\n"
        u"<div id=\"word\">apple</div><div id=\"phonetic\">[ˈæpl]</div><div id=\"sound\">"
        u"<a href=\"javascript:Play('apple')\"><img src=\"sound.gif\"></a></div>\r\n"
        u"<div id=\"translate\">苹果<br>苹果树</div>\r\n"
        u"<div class=\"images\">1、An <i>apple</i>, \"red\".&nbsp;<a href=\"javascript:Play("
        u"'An apple red.')\"><img src=\"sound.gif\"></a></div>\r\n"
        u"<div class=\"images\">一个红苹果。</div>\r\n"
        u"<div class=\"images\">2、She's eating.&nbsp;<a href=\"javascript:Play("
        u"'She\\u0027s eating.')\"><img src=\"sound.gif\"></a></div>\r\n"
        u"<div class=\"images\">她在吃。</div>\r\n"
        u"<div class=\"images\">3、&nbsp;<a href=\"javascript:Play('')\">"
        u"<img src=\"sound.gif\"></a></div>\r\n"
        u"<div class=\"images\"></div>\r\n"
        u"<script>if (isChinese('apple')) hideSound();</script>\r\n"
        u"</body></html>\r\n"_s;
    EXPECT_EQ(resultPageBytes(templateBytes(), record), pageBytes(expected));
}

TEST(ResultPage, FiveGroupsShowTheFirstThree)
{
    QByteArray record = toGbk(u"<WORD>苹果</WORD><PHONETIC>[píng]</PHONETIC>"
                              u"<TRANSLATE>apple</TRANSLATE>"_s);
    for (int n = 1; n <= 5; ++n) {
        const QByteArray i = QByteArray::number(n);
        record += "<IMAGESCN" + i + ">c" + i + "</IMAGESCN" + i + "><IMAGESEN" + i + ">e" + i +
                  "</IMAGESEN" + i + ">";
    }
    const QString expected = u"true\r\n苹果\r\n\r\n苹果\r\napple\r\n"
                             u"e1\r\ne1\r\nc1\r\ne2\r\ne2\r\nc2\r\ne3\r\ne3\r\nc3\r\n苹果\r\n"_s;
    // No mark: the template is GBK. The phonetic is GBK too, not UTF-8: it decodes to
    // nothing.
    EXPECT_EQ(resultPageBytes(toGbk(QStringList(15, u"%s"_s).join(u'\n')), record),
              pageBytes(expected));
}

TEST(ResultPage, ScriptArgumentsStayStringsAndFieldsRunNothing)
{
    WordRecord record;
    record.word = "it's";
    record.translate = toGbk(u"<BR>\u82F9<script>alert(1)</script>"_s);
    record.examples = {{"Don't \"stop\" <b onclick=x()>now</b>\r\n!</script><script>x()",
                        toGbk(u"<img src=x onerror=\"alert(1)\">中文"_s)},
                       {"I don&#39;t like apples.", ""}};
    const QString page = resultPageText(
        u"%s|%s|%s|Play('%s')|%s|%s|Play('%s')|%s|%s|Play('%s')|%s|%s|%s|%s|isChinese('%s')"_s,
        record);
    const QStringList cells = page.split(u'|');
    ASSERT_EQ(cells.size(), 15);
    EXPECT_EQ(playArgument(page, 1), u"it's"_s);
    // Play speaks the text that is shown, and counts its characters.
    EXPECT_EQ(playArgument(page, 2), u"Don't stop now\n!"_s);
    EXPECT_EQ(playArgument(page, 3), u"I don't like apples."_s);
    EXPECT_EQ(cells[4], u"<br>\u82F9"_s);
    EXPECT_EQ(cells[5], u"Don't \"stop\" <b>now</b>\n!"_s);
    EXPECT_EQ(cells[7], u"中文"_s);
    EXPECT_EQ(cells[8], u"I don't like apples."_s);
    EXPECT_EQ(cells[14], u"isChinese('it\\u0027s')"_s);
}

TEST(ResultPage, TemplateWithTooManyDirectives)
{
    QByteArray bytes = templateBytes();
    bytes += utf16le(u"<p>%s</p>"_s);
    EXPECT_THROW(resultPageBytes(bytes, "<WORD>a</WORD>"), EFormatError);
}

TEST(ResultPage, ShippedTemplateFillsCompletely)
{
    QFile file(QStringLiteral(MIREL_TEST_DATA_DIR "/../../resources/Translate.html"));
    if (!file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "resources/Translate.html not there yet";
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
    const QByteArray page = resultPageBytes(bytes, toGbk(u"<WORD>apple</WORD><TRANSLATE>t"
                                                         u"</TRANSLATE>"_s));
    EXPECT_TRUE(page.startsWith("\xFF\xFE"));
    EXPECT_TRUE(page.endsWith(QByteArray("\r\0\n\0", 4)));
    const QString text = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(page.constData() + 2), (page.size() - 2) / 2);
    EXPECT_FALSE(text.contains(u"%s"_s));
    EXPECT_TRUE(text.contains(u"Play('apple')"_s));
}

TEST(ResultPage, SpeechAddressOnTheConfiguredSite)
{
    const QString templateText =
        u"var a = \"http://translate.google.cn/translate_tts?tl=en&q=\" + text; %s|%s\r\n"_s;
    const QByteArray record = "<WORD>a</WORD><TRANSLATE>t</TRANSLATE>";
    EXPECT_EQ(resultPageBytes(pageBytes(templateText), record, "http://127.0.0.1:8765"),
              pageBytes(u"var a = \"http://127.0.0.1:8765/translate_tts?tl=en&q=\" + text; "
                        u"true|a\r\n"_s));
    // The public site leaves the page as the template has it; a site with a quote or "%"
    // can neither end the script string nor add a directive.
    EXPECT_EQ(resultPageBytes(pageBytes(templateText), record, "http://translate.google.cn"),
              resultPageBytes(pageBytes(templateText), record));
    EXPECT_EQ(resultPageBytes(pageBytes(templateText), record, "http://h/%s\""),
              pageBytes(u"var a = \"http://h/\\u0025s\\u0022/translate_tts?tl=en&q=\" + "
                        u"text; true|a\r\n"_s));
}
