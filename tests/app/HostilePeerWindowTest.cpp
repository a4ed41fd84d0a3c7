// The window after a translation site misbehaves: the error is reported, the result box
// is kept, and the next translation on the same window works.
#include "EngineFixture.h"
#include "TranslateFixture.h"

#include <QPlainTextEdit>

#include <chrono>

namespace mirel {
namespace {

const QString Previous = QStringLiteral("previous result");
const QByteArray Block(64 * 1024, 'x');

class HostilePeerWindow : public test::TranslateFixture
{
protected:
    void SetUp() override
    {
        test::TranslateFixture::SetUp();
        if (HasFatalFailure())
            return;
        f = test::EngineFixture::load(QStringLiteral("contract_google.txt"), server->port());
        ASSERT_FALSE(f.engine.isEmpty());
        window->MirelHTTP.ReadTimeoutMs = 300;
        choose(f.engine, f.source, f.target);
        typePassage(f.passage);
        window->TranslateResult->setPlainText(Previous);
    }

    // Clicks Translate against this reply; the seconds the click took.
    double translateAgainst(test::Reply reply)
    {
        server->enqueue(std::move(reply));
        const auto start = std::chrono::steady_clock::now();
        clickTranslate();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    void expectReportAndBoxKept(size_t count, const QString &message)
    {
        ASSERT_EQ(presenter->boxes.size(), count);
        EXPECT_EQ(presenter->boxes.back().text, message);
        EXPECT_EQ(presenter->boxes.back().caption, QStringLiteral("Mirel免费翻译软件"));
        EXPECT_EQ(presenter->boxes.back().icon, mbiError);
        EXPECT_EQ(window->TranslateResult->toPlainText(), Previous);
    }

    test::EngineFixture f;
};

TEST_F(HostilePeerWindow, HangingThenEndlessPeerLeaveTheWindowUsable)
{
    const double hang = translateAgainst(test::Reply().hang());
    expectReportAndBoxKept(1, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    EXPECT_LT(hang, 5.0);

    const double endless = translateAgainst(
        test::Reply("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n")
            .sendForever(Block));
    expectReportAndBoxKept(2, QStringLiteral("Response body larger than 67108864 bytes."));
    EXPECT_LT(endless, 20.0);

    server->replyAndClose(test::pageReply(f.wire("page"), "UTF-8"));
    clickTranslate();
    EXPECT_EQ(window->TranslateResult->toPlainText(), f.text("result"));
    EXPECT_EQ(presenter->boxes.size(), 2u);
    EXPECT_EQ(server->requests().size(), 3);
}

TEST_F(HostilePeerWindow, TricklingSiteIsReportedWithinTheCallBound)
{
    window->MirelHTTP.CallTimeoutMs = 600;
    test::Reply trickle; // each byte well within the read time-limit, for seconds on end
    for (const char c : QByteArray("HTTP/1.1 200 OK\r\nX-Pad: ") + QByteArray(100, 'x'))
        trickle.send(QByteArray(1, c)).pause(100);
    const double seconds = translateAgainst(trickle);
    expectReportAndBoxKept(1, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    EXPECT_LT(seconds, 2.0);

    server->replyAndClose(test::pageReply(f.wire("page"), "UTF-8"));
    clickTranslate();
    EXPECT_EQ(window->TranslateResult->toPlainText(), f.text("result"));
    EXPECT_EQ(presenter->boxes.size(), 1u);
}

} // namespace
} // namespace mirel
