// The window's Baidu relay engine against the real site server with a Baidu API account
// configured (the API played by a fake written from its documentation).
#include "../app/PickFromList.h"
#include "../app/RecordingPresenter.h"
#include "../sites/FakeVendors.h"
#include "SiteServerProcess.h"
#include "app/MirelMain.h"

#include <QApplication>
#include <QComboBox>
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
    test::SiteServerProcess server;
    ASSERT_TRUE(
        server.start(QStringLiteral(MIREL_SITES_PATH),
                     {QStringLiteral("--apertium"), QStringLiteral("off"),
                      QStringLiteral("--baidu-app-id"), QStringLiteral("2015063000000001"),
                      QStringLiteral("--baidu-key"), QStringLiteral("12345678"),
                      QStringLiteral("--baidu-url"), QString::fromStdString(baidu.address())}))
        << server.why().toStdString();
    auto presenter = std::make_shared<test::RecordingPresenter>();
    ShellServices services;
    services.presenter = presenter;
    services.launcher.findHtmlHandler = [] { return QStringLiteral("browser"); };
    services.launcher.start = [](const QString &, const QStringList &) {};
    TMirelMain window(Sites::local(server.port()), dir.path() + QStringLiteral("/Web/"),
                      std::move(services));
    window.show();

    test::pickFromList(window.TranslateType, QStringLiteral("百度引擎"));
    test::pickFromList(window.OLDLanguage, QStringLiteral("中文"));
    test::pickFromList(window.NEWLanguage, QStringLiteral("英语"));
    window.TranslateContent->setPlainText(QStringLiteral("我喜欢苹果和茶。"));
    QTest::mouseClick(window.TranslateButton, Qt::LeftButton);

    EXPECT_EQ(window.TranslateResult->toPlainText(),
              QStringLiteral("I like apples and green tea, she said."));
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
    ASSERT_EQ(baidu.requests().size(), 1u);
    EXPECT_EQ(baidu.requests()[0].fields.find("q")->second, "我喜欢苹果和茶。");
    EXPECT_TRUE(server.stop());
}

} // namespace
} // namespace mirel
