#include "TranslateFixture.h"

#include "PickFromList.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace mirel::test {

namespace {

// ASCII is typed key by key; other text arrives as an input method commits it.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

} // namespace

MessageBoxAnswer FocusRecordingPresenter::present(const MessageBoxRequest &request)
{
    focusWhileShown.push_back(QApplication::focusWidget());
    return RecordingPresenter::present(request);
}

void TranslateFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    ShellServices services;
    services.presenter = presenter;
    services.launcher.open = [](const QString &) { return true; };
    window = std::make_unique<TMirelMain>(
        sitesFor(server->port()), dir.path() + QStringLiteral("/Web/"), std::move(services));
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(window->TranslateType->count(), 4);
}

Sites TranslateFixture::sitesFor(quint16 port)
{
    Sites sites = Sites::local(port);
    sites.vendor = "http://127.0.0.1:1";
    return sites;
}

void TranslateFixture::pick(QComboBox *list, const QString &text)
{
    pickFromList(list, text);
}

void TranslateFixture::choose(const QString &engine, const QString &source, const QString &target)
{
    pick(window->TranslateType, engine);
    pick(window->OLDLanguage, source);
    pick(window->NEWLanguage, target);
}

void TranslateFixture::typePassage(const QStringList &lines)
{
    window->TranslateContent->setFocus();
    ASSERT_TRUE(focusReaches(window->TranslateContent));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(window->TranslateContent, Qt::Key_Return);
        typeText(window->TranslateContent, lines[i]);
    }
}

void TranslateFixture::clickTranslate()
{
    QTest::mouseClick(window->TranslateButton, Qt::LeftButton);
}

bool TranslateFixture::focusReaches(const QWidget *widget) const
{
    return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; }, 2000);
}

QByteArray pageReply(const QByteArray &page, const QByteArray &charset)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=" + charset +
           "\r\nConnection: close\r\n\r\n" + page;
}

} // namespace mirel::test
