// Wall times of the window: start-up to the first paint of the main window, and a click
// on Translate to the result in the box, against the scripted loopback server. Prints
// the start-up time and the median, minimum and maximum of the clicks.
//
//   mirel_window_timing [clicks]        (default 50)
#include "ScriptedServer.h"
#include "app/MirelMain.h"
#include "app/WebEngineSetup.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

using namespace mirel;
using Clock = std::chrono::steady_clock;

namespace {

const QByteArray kPage =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=UTF-8\r\nConnection: close\r\n\r\n"
    "<html><body><input type=hidden name=prev value=\"_t\"><input type=hidden name=gtrans "
    "value=\"\xE6\x97\xA9\xE4\xB8\x8A\xE5\xA5\xBD\"><div id=sug_exp></div></body></html>";

// Counts boxes instead of showing them; any box means a click did not give a result.
class CountingPresenter : public MessagePresenter
{
public:
    MessageBoxAnswer present(const MessageBoxRequest &request) override
    {
        std::fprintf(stderr, "box: %s\n", request.text.toUtf8().constData());
        ++count;
        return mbaOk;
    }
    int count = 0;
};

// Notes the first paint of the watched widget.
class PaintWatch : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted)
            painted = Clock::now();
        return QObject::eventFilter(watched, event);
    }
    std::optional<Clock::time_point> painted;
};

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Selects the entry and sends activated(), as a pick from the list's pop-up does.
bool pick(QComboBox *list, const QString &text)
{
    const int index = list->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    emit list->activated(index);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWebEngine();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    test::ScriptedServer server;
    auto presenter = std::make_shared<CountingPresenter>();
    ShellServices services;
    services.presenter = presenter;
    services.launcher.open = [](const QString &) { return true; };
    Sites sites = Sites::local(server.port());
    sites.vendor = "http://127.0.0.1:1";

    PaintWatch watch;
    const Clock::time_point start = Clock::now();
    TMirelMain window(sites, dir.path() + QStringLiteral("/Web/"), std::move(services));
    window.installEventFilter(&watch);
    window.show();
    const QDeadlineTimer limit(30000);
    while (!watch.painted && !limit.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!watch.painted) {
        std::fprintf(stderr, "the window was not painted within 30 s\n");
        return 1;
    }
    std::printf("start-up to first paint: %.1f ms\n", ms(*watch.painted - start));

    if (!pick(window.TranslateType, QStringLiteral("Google引擎")) ||
        !pick(window.OLDLanguage, QStringLiteral("英语")) ||
        !pick(window.NEWLanguage, QStringLiteral("中文(简体)"))) {
        std::fprintf(stderr, "engine or languages not in the lists\n");
        return 1;
    }
    window.TranslateContent->setPlainText(QStringLiteral("Good morning"));
    std::vector<double> times;
    for (int i = 0; i < clicks; ++i) {
        window.TranslateResult->clear();
        server.replyAndClose(kPage);
        const Clock::time_point click = Clock::now();
        window.TranslateButton->click();
        times.push_back(ms(Clock::now() - click));
        if (window.TranslateResult->toPlainText() != QStringLiteral("早上好") ||
            presenter->count > 0) {
            std::fprintf(stderr, "click %d gave no result: \"%s\"\n", i + 1,
                         window.TranslateResult->toPlainText().toUtf8().constData());
            return 1;
        }
        QApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    std::printf("click to result (%d clicks): median %.2f ms, min %.2f ms, max %.2f ms\n", clicks,
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
