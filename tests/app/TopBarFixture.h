#pragma once

#include "WindowFixture.h"

#include <QApplication>
#include <QTest>

namespace mirel::test {

// A shown, active window whose update call is recorded instead of made.
class ShownWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window = makeWindow(webFolder());
        window->setUpdateCall([](std::uintptr_t, const char *) {});
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Moves the mouse off the window so that no control keeps a hover face.
    void TearDown() override { QTest::mouseMove(window->windowHandle(), {300, 300}); }

    QPoint inWindow(const QWidget *w, QPoint p) const { return w->mapTo(window.get(), p); }

    void click(const QWidget *w)
    {
        const QPoint p = inWindow(w, QPoint(w->width() / 2, w->height() / 2));
        QTest::mouseMove(window->windowHandle(), p);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, p);
    }

    std::unique_ptr<TMirelMain> window;
};

} // namespace mirel::test
