#include "shell/WebPage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace mirel {
namespace {

using Start = std::pair<QString, QStringList>;

// Sets environment variables for a scope and puts back what was there (or its absence).
class EnvironmentGuard
{
public:
    EnvironmentGuard() = default;
    EnvironmentGuard(const EnvironmentGuard &) = delete;
    EnvironmentGuard &operator=(const EnvironmentGuard &) = delete;
    ~EnvironmentGuard()
    {
        for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
            if (saved->wasSet)
                qputenv(saved->name, saved->value);
            else
                qunsetenv(saved->name);
        }
    }

    void set(const char *name, const QByteArray &value)
    {
        m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        qputenv(name, value);
    }

private:
    struct Saved
    {
        const char *name;
        bool wasSet;
        QByteArray value;
    };
    std::vector<Saved> m_saved;
};

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
    const QByteArray home = qgetenv("HOME");
    {
        // An empty desktop: no applications, no MIME associations.
        QTemporaryDir empty;
        ASSERT_TRUE(empty.isValid());
        EnvironmentGuard environment;
        for (const char *name :
             {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            environment.set(name, empty.path().toLocal8Bit());
        std::vector<Start> starts;
        WebPageLauncher launcher = WebPageLauncher::desktop();
        launcher.start = [&starts](const QString &p, const QStringList &a) {
            starts.emplace_back(p, a);
        };
        EXPECT_FALSE(OpenWebPage(QStringLiteral("http://a/"), launcher));
        EXPECT_TRUE(starts.empty());
    }
    // Later tests see the desktop as it was.
    EXPECT_EQ(qgetenv("HOME"), home);
}

} // namespace
} // namespace mirel
