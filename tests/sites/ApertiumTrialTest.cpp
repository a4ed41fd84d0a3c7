// A pair's trial outside APy: the mode file read as APy reads it, the pipeline run with a
// time limit and its process group ended after, with stand-in programs; and, when Apertium
// is installed, real pairs judged as APy judges them.
#include "FakeServices.h"

#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApyProcess.h"
#include "sites/apertium/ModeFile.h"
#include "sites/apertium/PairTrial.h"
#include "sites/apertium/PipelineRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

using Commands = std::vector<std::vector<std::string>>;

bool gone(pid_t pid)
{
    for (const auto until = Clock::now() + 10s; Clock::now() < until;
         std::this_thread::sleep_for(20ms)) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        // Gone, or a zombie waiting for init to reap it.
        if (!std::getline(stat, line) || line.find(") Z ") != std::string::npos)
            return true;
    }
    return false;
}

pid_t pidIn(const std::filesystem::path &file)
{
    pid_t pid = 0;
    std::ifstream(file) >> pid;
    return pid;
}

} // namespace

TEST(ApertiumModeFile, CommandsAreReadAsApyRunsThem)
{
    struct Row
    {
        const char *mode;
        Commands commands;
    };
    const Row rows[] = {
        {"lt-proc -w '/d/a.bin' | apertium-tagger -g $2 '/d/b.prob' | lt-proc $1 '/d/c.bin'\n",
         {{"lt-proc", "-z", "-w", "/d/a.bin"},
          {"apertium-tagger", "-z", "-g", "/d/b.prob"},
          {"lt-proc", "-z", "-g", "/d/c.bin"}}},
        // These read a NUL as text: no -z.
        {"vislcg3 -g x.rlx |cg-mwesplit| hfst-tokenise t.pmhfst",
         {{"vislcg3", "-g", "x.rlx"}, {"cg-mwesplit"}, {"hfst-tokenise", "t.pmhfst"}}},
        {"  \n", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.mode);
        EXPECT_EQ(modeCommands(row.mode), row.commands);
    }
}

TEST(ApertiumModeFile, APairIsFoundUnderTheCodesApyListsItWith)
{
    const QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directories(folder / "more");
    for (const char *name : {"es-fr.mode", "spa-cat.mode", "gl-pt-latin1.mode", "more/pt-gl.mode",
                             "cat-por_BR.mode", "eng-spa.modes"})
        std::ofstream(folder / name) << "cat";
    struct Row
    {
        const char *from, *to, *file;
    };
    const Row rows[] = {{"spa", "fra", "es-fr.mode"},
                        {"spa", "cat", "spa-cat.mode"},
                        {"por", "glg", "more/pt-gl.mode"},
                        {"cat", "por_BR", "cat-por_BR.mode"},
                        {"cat", "por", ""},
                        {"glg", "por", ""},
                        {"eng", "spa", ""}};
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + "|" + row.to);
        const auto found = modeFileFor(folder, row.from, row.to);
        EXPECT_EQ(found.empty() ? "" : found.lexically_relative(folder).string(), row.file);
    }
}

class StandIns : public ::testing::Test
{
protected:
    void write(const std::string &name, const std::string &script)
    {
        const auto file = folder / name;
        std::ofstream(file) << "#!/bin/sh\n" << script << "\n";
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    }
    PipelineRun run(const Commands &commands, std::string_view input, PipelineAnswer answer,
                    std::chrono::milliseconds limit = 20s, std::stop_token stop = {})
    {
        return runPipeline(commands, input, answer, {"PATH=" + folder.string() + ":/usr/bin:/bin"},
                           Clock::now() + limit, stop);
    }

    const QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
};

TEST_F(StandIns, TheAnswerIsTheOutputUpToTheNulOrToItsEnd)
{
    // cat passes each piece on as it comes, as a program flushing at NUL does.
    const PipelineRun flushed = run({{"cat"}, {"cat"}}, "Hola", PipelineAnswer::AtMark);
    EXPECT_EQ(flushed.end, PipelineRun::End::Answered) << flushed.why;
    EXPECT_EQ(flushed.output, "Hola");
    // A program that answers and ends, leaving a child of its own: the child goes too.
    write("answers", "sleep 600 >/dev/null 2>&1 & echo $! > " + (folder / "left.pid").string() +
                         "; exec tr a-z A-Z");
    const PipelineRun ended = run({{"answers"}}, "hola", PipelineAnswer::AtEnd);
    EXPECT_EQ(ended.end, PipelineRun::End::Answered) << ended.why;
    EXPECT_EQ(ended.output, "HOLA");
    ASSERT_GT(pidIn(folder / "left.pid"), 0);
    EXPECT_TRUE(gone(pidIn(folder / "left.pid")));
}

TEST_F(StandIns, AFailingProgramIsAFailedTrialWithItsReason)
{
    write("crashes", "cat >/dev/null & echo 'cannot read rus.prob' >&2; kill -SEGV $$");
    write("fails", "echo first >&2; echo 'bad data' >&2; exit 3");
    struct Row
    {
        Commands commands;
        PipelineAnswer answer;
        const char *why;
    };
    const Row rows[] = {
        {{{"cat"}, {"crashes"}, {"cat"}},
         PipelineAnswer::AtMark,
         "crashes ended by signal 11 (Segmentation fault): cannot read rus.prob"},
        {{{"fails"}}, PipelineAnswer::AtEnd, "fails ended with exit status 3: bad data"},
        {{{"cat"}, {"no-such-program"}}, PipelineAnswer::AtMark, "cannot find no-such-program"},
        // Ends well but never gives the NUL back.
        {{{"head", "-c", "1"}}, PipelineAnswer::AtMark, "the pipeline ended without an answer"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.why);
        const PipelineRun tried = run(row.commands, "x", row.answer, 20s);
        EXPECT_EQ(tried.end, PipelineRun::End::Failed);
        EXPECT_EQ(tried.why, row.why);
    }
}

TEST_F(StandIns, TheTimeLimitEndsTheWholeProcessGroup)
{
    // A program that keeps its answer and leaves a child of its own running.
    write("holds", "echo $$ > " + (folder / "holds.pid").string() + "; sleep 600 & echo $! > " +
                       (folder / "child.pid").string() + "; cat >/dev/null; wait");
    const auto start = Clock::now();
    const PipelineRun held = run({{"cat"}, {"holds"}}, "x", PipelineAnswer::AtMark, 1s);
    EXPECT_EQ(held.end, PipelineRun::End::TimedOut);
    EXPECT_EQ(held.why, "no answer in time");
    EXPECT_LT(Clock::now() - start, 8s);
    ASSERT_GT(pidIn(folder / "child.pid"), 0);
    EXPECT_TRUE(gone(pidIn(folder / "holds.pid")));
    EXPECT_TRUE(gone(pidIn(folder / "child.pid")));

    std::stop_source stop;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(300ms);
        stop.request_stop();
    });
    const PipelineRun stopped =
        run({{"holds"}}, "x", PipelineAnswer::AtMark, 60s, stop.get_token());
    stopper.join();
    EXPECT_EQ(stopped.end, PipelineRun::End::Stopped);
    EXPECT_TRUE(gone(pidIn(folder / "child.pid")));
}

namespace {

bool apertiumInstalled()
{
    return std::filesystem::exists(std::filesystem::path(ApyProcess::DefaultModes) /
                                   "eng-spa.mode") &&
           std::filesystem::exists(std::filesystem::path(ApyProcess::DefaultModes) /
                                   "rus-ukr.mode") &&
           std::filesystem::exists("/usr/bin/apertium-deshtml");
}

} // namespace

TEST(RealApertiumTrial, PairsAreJudgedAsApyJudgesThemWithoutAsking)
{
    if (!apertiumInstalled())
        GTEST_SKIP() << "Apertium's eng-spa and rus-ukr are not installed";
    const std::filesystem::path modes = ApyProcess::DefaultModes;
    const PipelineRun works =
        tryModeFile(modes / "eng-spa.mode", "Hello, how are you?", Clock::now() + 60s);
    EXPECT_EQ(works.end, PipelineRun::End::Answered) << works.why;
    EXPECT_NE(works.output.find("Hola"), std::string::npos) << works.output;
    const PipelineRun fails =
        tryModeFile(modes / "rus-ukr.mode", "Здравствуйте, как дела?", Clock::now() + 60s);
    EXPECT_EQ(fails.end, PipelineRun::End::Failed) << fails.why;
    EXPECT_EQ(fails.why.rfind("apertium-tagger ended by signal", 0), 0u) << fails.why;

    // APy answers rus|ukr with "internal error": its tagger fails when told to flush.
    FakeService apy{FakeService::Kind::Apy, apyPairList({{"eng", "spa"}, {"rus", "ukr"}})};
    apy.failPair("rus|ukr");
    const QTemporaryDir cache;
    ApertiumOptions options;
    options.probe = true;
    options.cacheFolder = cache.path().toStdString();
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    backend.tryPairsOutside(modes);
    backend.start();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 10s));
    const Translation early = backend.translate("Привет", {"ru", "uk"}, Clock::now() + 60s);
    EXPECT_EQ(early.status, 501) << early.reason;
    const auto broken = backend.brokenPairs();
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken.front().rfind("rus|ukr: apertium-tagger ended by signal", 0), 0u)
        << broken.front();
    for (const auto &asked : apy.translations())
        EXPECT_NE(asked.find("q")->second, "Здравствуйте, как дела? Я хотел бы прочитать книгу.");
}

TEST_F(StandIns, ThePairsAreTriedAFewAtATimeOutsideApy)
{
    if (!std::filesystem::exists("/usr/bin/apertium-deshtml"))
        GTEST_SKIP() << "apertium-deshtml is not installed";
    // Each pair's program notes its start and end, takes a while, and passes its text on.
    const auto log = folder / "runs";
    write("pair", "echo + >> '" + log.string() + "'; sleep 0.3; echo - >> '" + log.string() +
                      "'; exec cat");
    const auto modes = folder / "modes";
    std::filesystem::create_directories(modes);
    std::vector<std::pair<std::string, std::string>> listed;
    for (const char *to : {"spa", "cat", "fra", "ita", "por", "glg"}) {
        listed.emplace_back("eng", to);
        std::ofstream(modes / (std::string("eng-") + to + ".mode"))
            << "'" << (folder / "pair").string() << "'\n";
    }
    FakeService apy{FakeService::Kind::Apy, apyPairList(listed)};
    ApertiumOptions options;
    options.probe = true;
    options.outsidePause = 10ms;
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    backend.tryPairsOutside(modes);
    backend.start();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 10s));
    const auto runs = [&log] {
        std::ifstream in(log);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_TRUE([&] {
        for (const auto until = Clock::now() + 30s; Clock::now() < until;
             std::this_thread::sleep_for(50ms))
            if (const std::string seen = runs(); std::count(seen.begin(), seen.end(), '-') == 6)
                return true;
        return false;
    }());
    std::this_thread::sleep_for(200ms);
    int running = 0;
    int most = 0;
    for (const char c : runs()) {
        running += c == '+' ? 1 : c == '-' ? -1 : 0;
        most = std::max(most, running);
    }
    EXPECT_EQ(most, options.trialsAtOnce);
    EXPECT_TRUE(backend.brokenPairs().empty());
    EXPECT_TRUE(apy.translations().empty());
}

TEST(ApertiumList, BeforeThePairListIsReadAPairIsNotReadyRatherThanMissing)
{
    FakeService apy{FakeService::Kind::Apy, apyPairList({{"eng", "spa"}})};
    apy.listReady(false);
    ApertiumBackend backend(*parseServiceAddress(apy.address()));
    backend.start();
    const Translation early = backend.translate("Hello", {"en", "es"}, Clock::now() + 5s);
    EXPECT_EQ(early.status, 503) << early.reason;
    apy.listReady(true);
    backend.askAgain();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 10s));
    EXPECT_EQ(backend.translate("Hello", {"en", "es"}, Clock::now() + 5s).status, 200);
    EXPECT_EQ(backend.translate("Hello", {"en", "xx"}, Clock::now() + 5s).status, 502);
}

TEST_F(StandIns, ATrialCutShortByAUsersRequestDecidesNothing)
{
    if (!std::filesystem::exists("/usr/bin/apertium-deshtml"))
        GTEST_SKIP() << "apertium-deshtml is not installed";
    write("slow", "exec sleep 600");
    const auto modes = folder / "modes";
    std::filesystem::create_directories(modes);
    std::ofstream(modes / "rus-ukr.mode") << "'" << (folder / "slow").string() << "'\n";
    // The pairs tried first keep rus|ukr's own trial away.
    std::vector<std::pair<std::string, std::string>> listed{{"rus", "ukr"}};
    for (const char *to : {"afr", "bel", "cat", "deu", "fra", "glg", "ita", "nld"})
        listed.emplace_back("eng", to);
    FakeService apy{FakeService::Kind::Apy, apyPairList(listed)};
    apy.failPair("rus|ukr");
    ApertiumOptions options;
    options.probe = true;
    options.outsidePause = 60s;
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    backend.tryPairsOutside(modes);
    backend.start();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 10s));
    const auto start = Clock::now();
    const Translation refused = backend.translate("Привет", {"ru", "uk"}, Clock::now() + 2s);
    EXPECT_LT(Clock::now() - start, 10s);
    EXPECT_EQ(refused.status, 502) << refused.reason;
    EXPECT_TRUE(backend.brokenPairs().empty());
    EXPECT_EQ(backend.offers({"ru", "uk"}), Offer::Yes);
}
