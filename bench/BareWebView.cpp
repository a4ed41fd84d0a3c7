// A bare web-view window of the same toolkit and size as the main window, for comparing
// start-up time and peak memory with the program: it shows an empty page until it is ended.
#include "app/WebEngineSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWebEngineView>

#include <cstdio>

namespace {

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QElapsedTimer &clock) : m_clock(clock) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("bare web view: start-up to first paint %.1f ms\n",
                        double(m_clock.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer &m_clock;
    bool m_seen = false;
};

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    mirel::prepareWebEngine();
    QApplication app(argc, argv);
    QWidget window;
    FirstPaint firstPaint(clock);
    app.installEventFilter(&firstPaint); // the first paint of any of its widgets
    window.setFixedSize(382, 477);
    auto *view = new QWebEngineView(&window);
    view->setGeometry(0, 0, 382, 477);
    view->setUrl(QUrl(QStringLiteral("about:blank")));
    window.show();
    return app.exec();
}
