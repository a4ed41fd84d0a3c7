// The window's Baidu relay engine against the real site server with a Baidu API account
// configured (the API played by a fake written from its documentation), its key read from
// a file so that no other user sees it in the process list.
#include "../app/RecordingPresenter.h"
#include "../sites/FakeVendors.h"
#include "SiteServerProcess.h"
#include "WindowOnServer.h"
#include "app/MirelMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace mirel {
namespace {

TEST(TranslateThroughBaidu, TheRelayEngineShowsTheBaiduApisAnswerExactly)
{
    FakeVendor baidu(FakeVendor::Kind::Baidu, "2015063000000001", "12345678");
    baidu.translateWith([](const std::string &line) {
        return line == "我喜欢苹果和茶。" ? std::string("I like apples and green tea, she said.")
                                          : "unexpected: " + line;
    });
    QTemporaryDir dir;
    const QString keyFile = dir.filePath(QStringLiteral("baidu.key"));
    {
        QFile file(keyFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("12345678\n");
    }
    test::SiteServerProcess server;
    ASSERT_TRUE(server.start(
        QStringLiteral(MIREL_SITES_PATH),
        {QStringLiteral("--apertium"), QStringLiteral("off"), QStringLiteral("--baidu-app-id"),
         QStringLiteral("2015063000000001"), QStringLiteral("--baidu-key-file"), keyFile,
         QStringLiteral("--baidu-url"), QString::fromStdString(baidu.address())}))
        << server.why().toStdString();
    // What every user of the machine sees of the running server: its command line.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(server.pid()));
    ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
    const QByteArray shown = cmdline.readAll();
    EXPECT_TRUE(shown.contains("--baidu-key-file")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("12345678")) << shown.toStdString();
    auto presenter = std::make_shared<test::RecordingPresenter>();
    const auto window =
        test::windowOnServer(server.port(), dir.path() + QStringLiteral("/Web/"), presenter);
    test::translateInWindow(*window, QStringLiteral("百度引擎"), QStringLiteral("中文"),
                            QStringLiteral("英语"), QStringLiteral("我喜欢苹果和茶。"));

    EXPECT_EQ(window->TranslateResult->toPlainText(),
              QStringLiteral("I like apples and green tea, she said."));
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
    ASSERT_EQ(baidu.requests().size(), 1u);
    EXPECT_EQ(baidu.requests()[0].fields.find("q")->second, "我喜欢苹果和茶。");
    EXPECT_TRUE(server.stop()) << server.why().toStdString();
}

} // namespace
} // namespace mirel
