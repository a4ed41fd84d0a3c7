#include "shell/MsgBox.h"
#include "../app/RecordingPresenter.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

struct KindRow
{
    quint8 kind;
    QString caption;
    MessageBoxIcon icon;
    MessageBoxButtons buttons;
};

class ShowMsgBoxKind : public testing::TestWithParam<KindRow>
{
};

TEST_P(ShowMsgBoxKind, EmptyCaptionTakesTheKindsCaptionIconAndButtons)
{
    const KindRow &row = GetParam();
    test::RecordingPresenter presenter;
    ShowMsgBox(presenter, QStringLiteral("请输入您要查询的单词!"), QString(), row.kind);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    const MessageBoxRequest &box = presenter.boxes.front();
    EXPECT_EQ(box.text, QStringLiteral("请输入您要查询的单词!"));
    EXPECT_EQ(box.caption, row.caption);
    EXPECT_EQ(box.icon, row.icon);
    EXPECT_EQ(box.buttons, row.buttons);
}

TEST_P(ShowMsgBoxKind, GivenCaptionReplacesTheTables)
{
    test::RecordingPresenter presenter;
    ShowMsgBox(presenter, QStringLiteral("x"), QStringLiteral("Mirel"), GetParam().kind);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes.front().caption, QStringLiteral("Mirel"));
    EXPECT_EQ(presenter.boxes.front().icon, GetParam().icon);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ShowMsgBoxKind,
                         testing::Values(KindRow{0, QStringLiteral("提示"), mbiInformation, mbbOk},
                                         KindRow{1, QStringLiteral("询问"), mbiQuestion, mbbYesNo},
                                         KindRow{2, QStringLiteral("警告"), mbiWarning, mbbOk},
                                         KindRow{3, QStringLiteral("错误"), mbiError, mbbOk}),
                         [](const testing::TestParamInfo<KindRow> &info) {
                             return "Kind" + std::to_string(info.param.kind);
                         });

TEST(ShowMsgBox, ReturnsTheButtonThatClosedTheBox)
{
    test::RecordingPresenter yes(mbaYes);
    EXPECT_EQ(ShowMsgBox(yes, QStringLiteral("?"), QString(), 1), 6);
    test::RecordingPresenter no(mbaNo);
    EXPECT_EQ(ShowMsgBox(no, QStringLiteral("?"), QString(), 1), 7);
    test::RecordingPresenter ok(mbaOk);
    EXPECT_EQ(ShowMsgBox(ok, QStringLiteral("!"), QString(), 0), 1);
}

TEST(ShowMsgBox, KindOutsideTheTableShowsNothingAndReturnsZero)
{
    test::RecordingPresenter presenter;
    EXPECT_EQ(ShowMsgBox(presenter, QStringLiteral("x"), QString(), 4), 0);
    EXPECT_EQ(ShowMsgBox(presenter, QStringLiteral("x"), QString(), 255), 0);
    EXPECT_TRUE(presenter.boxes.empty());
}

} // namespace
} // namespace mirel
