#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <stdexcept>
#include <string>

namespace mirel {
namespace {

class UpdateTimer : public test::WindowFixture
{
protected:
    struct Call
    {
        std::uintptr_t handle;
        std::string address;
        bool timerActive; // the timer's state while the call runs
    };

    void SetUp() override
    {
        WindowFixture::SetUp();
        sinceCreation.start();
        window = makeWindow(webFolder());
        window->setUpdateCall([this](std::uintptr_t handle, const char *address) {
            calls.push_back({handle, address, window->UpdateTimer->isActive()});
            if (spinMs > 0) {
                // Like a question box: the event loop runs for several intervals.
                QEventLoop loop;
                QTimer::singleShot(spinMs, &loop, &QEventLoop::quit);
                loop.exec();
            }
            if (fail)
                throw std::runtime_error("update failed");
        });
    }

    // Waits for the first call and then a few more intervals.
    void runTimer()
    {
        window->UpdateTimer->setInterval(10);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !calls.empty(); }, 5000));
        QTest::qWait(100);
    }

    QElapsedTimer sinceCreation;
    std::unique_ptr<TMirelMain> window;
    std::vector<Call> calls;
    int spinMs = 0;
    bool fail = false;
};

// The count starts when the window is created, not when it shows: a window that never
// shows makes its call all the same. (A coarse timer may fire up to 5 % early.)
TEST_F(UpdateTimer, CallsFiveSecondsAfterCreation)
{
    ASSERT_TRUE(QTest::qWaitFor([this] { return !calls.empty(); }, 10000));
    const qint64 elapsed = sinceCreation.elapsed();
    EXPECT_GE(elapsed, 4750);
    EXPECT_LT(elapsed, 8000);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(UpdateTimer, CallsOnceWithTheWindowHandleAndTheUpdateList)
{
    window->show();
    runTimer();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handle, static_cast<std::uintptr_t>(window->winId()));
    EXPECT_NE(calls[0].handle, 0u);
    EXPECT_EQ(calls[0].address, "http://127.0.0.1:1/SiteBack/updateTxt/28.txt");
    EXPECT_FALSE(window->UpdateTimer->isActive());
    // Calling the handler again does nothing either.
    window->UpdateTimerTimer();
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(UpdateTimer, ACallLongerThanTheIntervalIsNotRepeated)
{
    spinMs = 200; // twenty intervals
    window->show();
    runTimer();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].timerActive); // switched off only after the return
    EXPECT_FALSE(window->UpdateTimer->isActive());
}

TEST_F(UpdateTimer, AFailedCallIsReportedOnceAndNotRetried)
{
    fail = true;
    window->show();
    runTimer();
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_FALSE(window->UpdateTimer->isActive());
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, QStringLiteral("update failed."));
}

} // namespace
} // namespace mirel
