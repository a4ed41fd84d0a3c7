// The window's Google engine with no settings at all but the address of Google's keyless
// web endpoint (played by a fake of its public format): the user needs no key.
#include "../app/RecordingPresenter.h"
#include "../sites/FakeHttpServer.h"
#include "SiteServerProcess.h"
#include "WindowOnServer.h"
#include "app/MirelMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace mirel {
namespace {

TEST(TranslateKeyless, TheGoogleEngineShowsTheWebEndpointsAnswerExactly)
{
    FakeHttpServer google;
    std::mutex mutex;
    std::vector<std::string> asked;
    google.server().Get(
        "/translate_a/single", [&](const httplib::Request &req, httplib::Response &res) {
            {
                const std::lock_guard lock(mutex);
                asked.push_back(req.get_param_value("client") + " " + req.get_param_value("sl") +
                                " " + req.get_param_value("tl") + " " + req.get_param_value("dt") +
                                " " + req.get_param_value("q"));
            }
            // Two sentence rows, joined as they stand.
            res.set_content(R"([[["I like to read ","我每天早上喜欢读书。",null,null,10],)"
                            R"(["every morning.","",null,null,10]],null,"zh-CN"])",
                            "application/json; charset=utf-8");
        });
    google.start();
    test::SiteServerProcess server;
    ASSERT_TRUE(server.start(QStringLiteral(MIREL_SITES_PATH),
                             {QStringLiteral("--apertium"), QStringLiteral("off"),
                              QStringLiteral("--google-web-url"),
                              QString::fromStdString(google.address() + "/translate_a/single")}))
        << server.why().toStdString();
    QTemporaryDir dir;
    auto presenter = std::make_shared<test::RecordingPresenter>();
    const auto window =
        test::windowOnServer(server.port(), dir.path() + QStringLiteral("/Web/"), presenter);
    test::translateInWindow(*window, QStringLiteral("Google引擎"), QStringLiteral("中文(简体)"),
                            QStringLiteral("英语"), QStringLiteral("我每天早上喜欢读书。"));

    EXPECT_EQ(window->TranslateResult->toPlainText(),
              QStringLiteral("I like to read every morning."));
    for (const MessageBoxRequest &box : presenter->boxes)
        ADD_FAILURE() << box.text.toStdString();
    const std::lock_guard lock(mutex);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "gtx zh-CN en t 我每天早上喜欢读书。");
    EXPECT_TRUE(server.stop()) << server.why().toStdString();
}

} // namespace
} // namespace mirel
