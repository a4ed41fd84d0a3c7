// The translate command through the window: the exact request of each engine and the
// result box afterwards.
#include "EngineFixture.h"
#include "TranslateFixture.h"

#include <QPlainTextEdit>

namespace mirel {
namespace {

class EngineRequestBytes : public test::TranslateFixture,
                           public testing::WithParamInterface<std::string>
{
};

TEST_P(EngineRequestBytes, GoOutExactlyAndFillTheResultBox)
{
    const auto f =
        test::EngineFixture::load(QString::fromStdString(GetParam() + ".txt"), server->port());
    ASSERT_FALSE(f.engine.isEmpty());
    server->replyAndClose(f.wire("reply"));
    choose(f.engine, f.source, f.target);
    typePassage(f.passage);
    window->TranslateResult->setPlainText(QStringLiteral("previous"));

    clickTranslate();

    ASSERT_TRUE(server->waitForRequests(1));
    EXPECT_EQ(server->requests(), QList<QByteArray>{f.wire("request")});
    EXPECT_EQ(window->TranslateResult->toPlainText(), f.text("result"));
    if (f.file.has("font")) {
        EXPECT_EQ(window->TranslateResult->font().family(), f.text("font"));
    }
    EXPECT_TRUE(presenter->boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineRequestBytes,
                         testing::ValuesIn(test::EngineFixture::requestCases()),
                         [](const testing::TestParamInfo<std::string> &info) {
                             return info.param;
                         });

using ResultFont = test::TranslateFixture;

// Only Google sets the font: Gulim for Korean, MS Sans Serif for every other language.
TEST_F(ResultFont, FollowsTheLastGoogleTarget)
{
    const auto korean =
        test::EngineFixture::load(QStringLiteral("google_zh_ko.txt"), server->port());
    const auto baidu = test::EngineFixture::load(QStringLiteral("baidu_en_cn.txt"), server->port());
    const auto english =
        test::EngineFixture::load(QStringLiteral("google_zh_en.txt"), server->port());
    typePassage({QStringLiteral("你好")});

    for (const auto *step : {&korean, &baidu, &english}) {
        server->replyAndClose(step->wire("reply"));
        choose(step->engine, step->source, step->target);
        clickTranslate();
        EXPECT_EQ(window->TranslateResult->toPlainText(), step->text("result"));
        const QString expected =
            step == &english ? QStringLiteral("MS Sans Serif") : QStringLiteral("Gulim");
        EXPECT_EQ(window->TranslateResult->font().family(), expected) << step->engine.toStdString();
    }
    EXPECT_EQ(window->TranslateResult->font().pixelSize(), 13);
    EXPECT_EQ(server->requests().size(), 3);
    EXPECT_TRUE(presenter->boxes.empty());
}

} // namespace
} // namespace mirel
