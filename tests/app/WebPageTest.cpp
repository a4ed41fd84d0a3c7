#include "util/shell/WebPage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace mirel {
namespace {

using Start = std::pair<QString, QStringList>;

WebPageLauncher launcherWith(QString program, std::vector<Start> &starts)
{
    return WebPageLauncher{
        [program] { return program; },
        [&starts](const QString &p, const QStringList &a) { starts.emplace_back(p, a); }};
}

TEST(OpenWebPage, StartsTheRegisteredProgramWithTheAddressAsOnlyArgument)
{
    std::vector<Start> starts;
    const auto launcher = launcherWith(QStringLiteral("/usr/bin/firefox"), starts);
    EXPECT_TRUE(OpenWebPage(QStringLiteral("http://example.test/201072928.html"), launcher));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].first, QStringLiteral("/usr/bin/firefox"));
    EXPECT_EQ(starts[0].second, QStringList{QStringLiteral("http://example.test/201072928.html")});
}

TEST(OpenWebPage, EachCallStartsOnce)
{
    std::vector<Start> starts;
    const auto launcher = launcherWith(QStringLiteral("browser"), starts);
    OpenWebPage(QStringLiteral("http://a/"), launcher);
    OpenWebPage(QStringLiteral("http://a/"), launcher);
    EXPECT_EQ(starts.size(), 2u);
}

TEST(OpenWebPage, NoRegisteredProgramStartsNothing)
{
    std::vector<Start> starts;
    EXPECT_FALSE(OpenWebPage(QStringLiteral("http://a/"), launcherWith(QString(), starts)));
    EXPECT_TRUE(starts.empty());
}

TEST(OpenWebPage, DesktopWithoutHtmlHandlerGivesFalse)
{
    // An empty desktop: no applications, no MIME associations.
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    for (const char *name :
         {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        qputenv(name, empty.path().toLocal8Bit());
    std::vector<Start> starts;
    WebPageLauncher launcher = WebPageLauncher::desktop();
    launcher.start = [&starts](const QString &p, const QStringList &a) {
        starts.emplace_back(p, a);
    };
    EXPECT_FALSE(OpenWebPage(QStringLiteral("http://a/"), launcher));
    EXPECT_TRUE(starts.empty());
}

} // namespace
} // namespace mirel
