// The real APy, as the server starts it: from a Python environment's shell without a
// locale, its error line when it cannot start, healed after kill -9, and its text made
// clean (marks, Serbian in Cyrillic).
#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApyLog.h"
#include "sites/apertium/ApySupervisor.h"
#include "sites/http/BoundedHttp.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

bool apyInstalled()
{
    return std::filesystem::exists("/usr/lib/python3/dist-packages/apertium_apy/apy.py") &&
           std::filesystem::exists(ApyProcess::DefaultModes);
}

void writeScript(const std::filesystem::path &file, const std::string &text)
{
    std::ofstream(file) << text;
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

} // namespace

class RealApy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!apyInstalled())
            GTEST_SKIP() << "apertium-apy is not installed";
        // A shell with a virtualenv first on PATH (its python3 has no tornado), Python
        // variables pointing elsewhere and no locale.
        const std::filesystem::path bin = dir.filePath("venv/bin").toStdString();
        std::filesystem::create_directories(bin);
        writeScript(bin / "python3", "#!/bin/sh\necho 'No module named tornado' >&2\nexit 1\n");
        options.environment = {"PATH=" + bin.string() + ":/usr/bin:/bin",
                               "PYTHONPATH=" + bin.string(), "PYTHONHOME=" + bin.string(),
                               "HOME=" + dir.path().toStdString()};
        options.log = dir.filePath("apy.log").toStdString();
    }

    QTemporaryDir dir;
    ApyOptions options;
};

TEST_F(RealApy, StartsFromAPythonEnvironmentWithoutALocaleAndComesBackAfterKill)
{
    std::atomic<int> starts = 0;
    ApySupervisor supervisor(options, {1024, 100ms, 5s, 100ms, 1s, 60s, 60s}, {});
    supervisor.start([&starts] { ++starts; }, [] { return false; });
    const std::string address = supervisor.address(); // given to the backend before APy runs
    ASSERT_EQ(supervisor.waitStarted(Clock::now() + 60s), "");
    EXPECT_EQ(
        callBounded(*parseServiceAddress(address), {"GET", "/listPairs", {}, {}}, Clock::now() + 5s)
            .status,
        200);
    const pid_t first = supervisor.pid();
    ASSERT_GT(first, 0);
    ::kill(first, SIGKILL);
    const auto until = Clock::now() + 30s;
    while (starts < 2 && Clock::now() < until)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(starts, 2);
    EXPECT_NE(supervisor.pid(), first);
}

TEST_F(RealApy, AnApyThatCannotStartSaysWhyInItsOwnWordsAndItsLogIsKept)
{
    options.interpreter = dir.filePath("venv/bin/python3").toStdString();
    options.logLimit = 100;
    std::ofstream(options.log) << "an earlier run's last line\n";
    ApyProcess apy(options);
    for (int start = 0; start < 5; ++start)
        EXPECT_EQ(apy.start(Clock::now() + 10s),
                  "APy ended at start (exit 1: No module named tornado)");
    // Appended until beyond its bound, then moved aside once and started afresh.
    std::filesystem::path old = options.log;
    old += ".1";
    const std::string kept = textFrom(old, 0);
    EXPECT_EQ(kept.rfind("an earlier run's last line\nNo module named tornado\n", 0), 0u) << kept;
    EXPECT_GT(kept.size(), 100u);
    EXPECT_LE(textFrom(options.log, 0).size(), 100u);
}

TEST_F(RealApy, MarkedWordsAndSerbianInCyrillic)
{
    ApyProcess apy(options);
    ASSERT_EQ(apy.start(Clock::now() + 60s), "");
    ApertiumBackend backend(*parseServiceAddress(apy.address()));
    backend.start();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 10s));
    const auto translate = [&backend](const char *text, const char *from, const char *to) {
        const Translation t = backend.translate(text, {from, to}, Clock::now() + 20s);
        EXPECT_EQ(t.status, 200) << t.reason;
        return t.text;
    };
    EXPECT_EQ(translate("Hello, how are you? I would like to read a book.", "en", "hr"),
              "Hello, kako are you? I would like to read a book.");
    EXPECT_EQ(translate("Здраво, како си? Желео бих да прочитам књигу.", "sr", "en"),
              "Healthily, that are? Wanted that read book.");
    // Apertium's "#Free imam #pas." in Cyrillic letters, its marked words the source's.
    EXPECT_EQ(translate("Јас имам куче.", "mk", "sr"), "Јас имам куче.");
}
