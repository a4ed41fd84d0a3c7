#include "DictionaryFixtures.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace mirel::test {

QByteArray dictionaryFixture(const QString &name)
{
    QFile file(QStringLiteral(MIREL_TEST_DATA_DIR "/dictionary/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QByteArray foreignWordPage(const QString &headword, const QString &phonetic,
                           const QStringList &translations,
                           const QList<std::pair<QString, QString>> &examples)
{
    QString page = u"<html><body>\n<table><tr><td><font class=dict18black>"_s + headword +
                   u"</font>&nbsp;\n<span class=\"collapsed-def\">"_s + phonetic +
                   u" </span></td></tr></table>\n<table class=\"attributem\">\n"_s;
    for (const QString &t : translations)
        page +=
            u"<tr><td class=\"attributem1\">n.&nbsp;&nbsp;</td><td class=\"attributem1web\">"_s +
            t + u"</td></tr>\n"_s;
    page += u"</table>\n<div class=\"graynolinktext\"></div>\n"_s
            u"<table><tr><td><img src=\"ex.gif\" ALT=\"例句与用法\">\n"_s;
    int n = 0;
    for (const auto &[first, second] : examples) {
        page += u"<div id=\"ssResultDiv"_s + QString::number(++n) + u"\">\n<span>"_s + first +
                u"</span><br>\n      <span>"_s + second +
                u"</span><br>\n</div><div class=space7></div>\n"_s;
    }
    page += u"</td></tr><tr><td><a href=\"/example\">更多例句 »</a></td></tr></table>\n"_s
            u"</body></html>\n"_s;
    return page.toUtf8();
}

QByteArray utf16le(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

} // namespace mirel::test
