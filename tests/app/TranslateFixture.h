#pragma once

#include "RecordingPresenter.h"
#include "app/MirelMain.h"
#include "support/ScriptedServer.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace mirel::test {

// Records each box with the control that had the focus while it was shown.
class FocusRecordingPresenter : public RecordingPresenter
{
public:
    MessageBoxAnswer present(const MessageBoxRequest &request) override;
    std::vector<const QWidget *> focusWhileShown;
};

// A shown window whose translation sites (and every other outside site but the
// vendor's, which the ad strip would load) point at a scripted loopback server. Boxes
// are recorded; the user's actions go through QTest.
class TranslateFixture : public testing::Test
{
protected:
    void SetUp() override;

    // The host table of the window: the scripted server, the ad page on a closed port.
    static Sites sitesFor(quint16 port);

    // Picks the entry with this text from the list's pop-up, as a user does: one
    // activated() signal.
    void pick(QComboBox *list, const QString &text);
    // Picks the engine and both languages, in this order.
    void choose(const QString &engine, const QString &source, const QString &target);
    // Types the lines into TranslateContent with Return between them.
    void typePassage(const QStringList &lines);
    void clickTranslate();
    // Waits (bounded) until the widget has the keyboard focus.
    bool focusReaches(const QWidget *widget) const;

    QTemporaryDir dir;
    std::unique_ptr<ScriptedServer> server = std::make_unique<ScriptedServer>();
    std::shared_ptr<FocusRecordingPresenter> presenter =
        std::make_shared<FocusRecordingPresenter>();
    std::unique_ptr<TMirelMain> window;
};

// "HTTP/1.1 200 OK" with the content type and Connection: close, then the page.
QByteArray pageReply(const QByteArray &page, const QByteArray &charset);

} // namespace mirel::test
