#pragma once

#include "RecordingPresenter.h"
#include "app/MirelMain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

namespace mirel::test {

// The local site server, run as its own program on a free loopback port for
// the length of one test.
class SiteServerProcess
{
public:
    SiteServerProcess();
    ~SiteServerProcess();
    SiteServerProcess(const SiteServerProcess &) = delete;
    SiteServerProcess &operator=(const SiteServerProcess &) = delete;

    // 0 when it did not start listening in time (or was not built).
    quint16 port() const { return m_port; }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// A window on the dictionary page with its own web folder; boxes are recorded and the
// result page is read back from the web view.
class WordLookup : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { window.reset(); }

    // Creates the window for these sites, shows it on the dictionary page and waits
    // until the template has loaded.
    void open(const Sites &sites);
    // Types the word and clicks the button.
    void lookUp(const QString &word);
    // Looks the word up and waits until the browser has loaded the result page.
    void lookUpAndWait(const QString &word);

    // A script's value in the page shown by WordBrowser.
    QVariant run(const QString &script) const;
    QString text(const QString &selector) const;
    QString display(const QString &id) const;

    QString webFolder() const { return dir.path() + QStringLiteral("/Web/"); }
    QString resultPath() const { return webFolder() + QStringLiteral("Temp.html"); }
    QByteArray resultBytes() const;

    QTemporaryDir dir;
    std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
    std::unique_ptr<TMirelMain> window;
};

} // namespace mirel::test
