#include "WordLookupFixture.h"

#include "app/TWebBrowser.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <optional>

namespace mirel::test {

namespace {

constexpr int PageTimeoutMs = 30000;
constexpr int ScriptTimeoutMs = 10000;

} // namespace

SiteServerProcess::SiteServerProcess()
{
#ifdef MIREL_SITES_PATH
    m_process.setReadChannel(QProcess::StandardError);
    m_process.start(QStringLiteral(MIREL_SITES_PATH),
                    {QStringLiteral("0"), QStringLiteral("--quiet")});
    // It names its port on standard error once it listens.
    static const QRegularExpression listening(
        QStringLiteral("listening on http://127\\.0\\.0\\.1:(\\d+)"));
    const QDeadlineTimer deadline(10000);
    QByteArray said;
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(int(deadline.remainingTime()));
        said += m_process.readAllStandardError();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(said));
        if (match.hasMatch()) {
            m_port = match.captured(1).toUShort();
            return;
        }
    }
#endif
}

SiteServerProcess::~SiteServerProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void WordLookup::open(const Sites &sites)
{
    ShellServices services;
    services.presenter = presenter;
    services.launcher.open = [](const QString &) { return true; };
    window = std::make_unique<TMirelMain>(sites, webFolder(), std::move(services));
    window->TabControl->setCurrentWidget(window->TabWord);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QUrl templateUrl = QUrl::fromLocalFile(webFolder() + QStringLiteral("Translate.html"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window->WordBrowser->url() == templateUrl &&
                   run(QStringLiteral("document.readyState")).toString() ==
                       QStringLiteral("complete");
        },
        PageTimeoutMs));
}

void WordLookup::lookUp(const QString &word)
{
    window->Word->setText(word);
    QTest::mouseClick(window->WordButton, Qt::LeftButton);
}

void WordLookup::lookUpAndWait(const QString &word)
{
    QSignalSpy loaded(window->WordBrowser, &QWebEngineView::loadFinished);
    lookUp(word);
    ASSERT_TRUE(presenter->boxes.empty()) << presenter->boxes.front().text.toStdString();
    ASSERT_EQ(window->WordBrowser->navigatedUrl(), QUrl::fromLocalFile(resultPath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty(); }, PageTimeoutMs));
    ASSERT_TRUE(loaded.first().first().toBool());
}

QVariant WordLookup::run(const QString &script) const
{
    std::optional<QVariant> result;
    window->WordBrowser->page()->runJavaScript(
        script, [&result](const QVariant &value) { result = value; });
    EXPECT_TRUE(QTest::qWaitFor([&result] { return result.has_value(); }, ScriptTimeoutMs))
        << script.toStdString();
    return result.value_or(QVariant());
}

QString WordLookup::text(const QString &selector) const
{
    return run(QStringLiteral("document.querySelector(\"%1\").innerText").arg(selector)).toString();
}

QString WordLookup::display(const QString &id) const
{
    return run(QStringLiteral("document.getElementById('%1').style.display").arg(id)).toString();
}

QByteArray WordLookup::resultBytes() const
{
    QFile file(resultPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace mirel::test
