#include "app/ExceptionReport.h"
#include "RecordingPresenter.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <new>
#include <stdexcept>

namespace mirel {
namespace {

TEST(ExceptionReport, ErrorLeavingAHandlerIsShownWithTitleErrorIconAndOk)
{
    test::RecordingPresenter presenter;
    QWidget owner;
    guarded(presenter, &owner, [] {
        throw EFCreateError::forFile(QStringLiteral("/x/Web/Translate.html"),
                                     QStringLiteral("Not a directory"));
    });
    ASSERT_EQ(presenter.boxes.size(), 1u);
    const MessageBoxRequest &box = presenter.boxes.front();
    EXPECT_EQ(box.caption, QStringLiteral("Mirel免费翻译软件"));
    EXPECT_EQ(box.icon, mbiError);
    EXPECT_EQ(box.buttons, mbbOk);
    EXPECT_EQ(box.owner, &owner);
    EXPECT_EQ(box.text,
              QStringLiteral("Cannot create file \"/x/Web/Translate.html\". Not a directory."));
}

// The guard lets nothing out (an escape would end the program): not even a report that
// fails itself, as a box does when memory runs out.
TEST(ExceptionReport, AReportThatFailsItselfEndsThere)
{
    class FailingPresenter : public MessagePresenter
    {
    public:
        MessageBoxAnswer present(const MessageBoxRequest &) override
        {
            ++calls;
            throw std::bad_alloc();
        }
        int calls = 0;
    } failing;
    guarded(failing, nullptr, [] { throw Exception(QStringLiteral("first")); });
    guarded(failing, nullptr, [] { throw std::runtime_error("second"); });
    EXPECT_EQ(failing.calls, 2);
}

TEST(ExceptionReport, DotRuleAndSilentAbort)
{
    test::RecordingPresenter presenter;
    guarded(presenter, nullptr, [] { throw Exception(QStringLiteral("Socket Error # 10061")); });
    guarded(presenter, nullptr, [] { throw Exception(QStringLiteral("already.")); });
    guarded(presenter, nullptr, [] { throw Exception(QStringLiteral("ends in -")); });
    guarded(presenter, nullptr, [] { throw Exception(QStringLiteral("没有找到")); });
    guarded(presenter, nullptr, [] { throw EAbort(); });
    guarded(presenter, nullptr, [] { throw std::runtime_error("bad"); });
    guarded(presenter, nullptr, [] {});
    ASSERT_EQ(presenter.boxes.size(), 5u);
    EXPECT_EQ(presenter.boxes[0].text, QStringLiteral("Socket Error # 10061."));
    EXPECT_EQ(presenter.boxes[1].text, QStringLiteral("already."));
    EXPECT_EQ(presenter.boxes[2].text, QStringLiteral("ends in -"));
    EXPECT_EQ(presenter.boxes[3].text, QStringLiteral("没有找到."));
    EXPECT_EQ(presenter.boxes[4].text, QStringLiteral("bad."));
}

} // namespace
} // namespace mirel
