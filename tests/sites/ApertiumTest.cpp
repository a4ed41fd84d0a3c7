// Apertium's text made clean (marks, Serbian's alphabets), APy's start-up environment, its
// memory measure and recent pairs, and the pairs offered from a fake APy.
#include "FakeServices.h"
#include "SiteServerFixture.h"

#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApertiumMarks.h"
#include "sites/apertium/ApyLaunch.h"
#include "sites/apertium/ProcessTree.h"
#include "sites/apertium/RecentPairs.h"
#include "sites/apertium/SerbianScript.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

TEST(ApertiumText, MarkedWordsBecomeTheSourcesWords)
{
    struct Row
    {
        const char *source, *plain, *numbered, *shown;
    };
    const Row rows[] = {
        // en->hr as APy gives it, and the same with the words numbered.
        {"Hello, how are you? A book.", "@Hello, kako #biti #free? @A #knjiga#.",
         R"(<i id="0">@Hello</i>, <i id="1">kako</i> <i id="2">#biti</i> <i id="3">#free</i>? )"
         R"(<i id="4">@A</i> <i id="5">#knjiga</i>#.)",
         "Hello, kako are you? A book."},
        // The numbered translation does not match: the words lose their marks only.
        {"I am ok", "*Ja #biti ok", "", "Ja biti ok"},
        // Marks of the source's own and inside words stay.
        {"mail a@b.com #tag *", "correo a@b.com #tag *", "", "correo a@b.com #tag *"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.source);
        EXPECT_EQ(
            withSourceWords(row.source, row.plain, row.numbered, numberedWords(row.source).words),
            row.shown);
    }
    EXPECT_EQ(numberedWords("a <b>&c").html,
              R"(<i id="0">a</i> &lt;<i id="1">b</i>&gt;&amp;<i id="2">c</i>)");
    EXPECT_FALSE(hasMarks("#tag", "#tag"));
    EXPECT_TRUE(hasMarks("x.", "#x#."));
}

TEST(ApertiumText, ABlankLeftForTheLastLineBreakGoesToo)
{
    EXPECT_EQ(withoutDroppedWordBlanks("I have a dog.\n", " Tengo un perro."), "Tengo un perro.");
}

TEST(SerbianScript, LetterForLetterBothWays)
{
    struct Row
    {
        const char *cyrillic, *latin;
    };
    const Row rows[] = {
        {"Здраво, како си? Желео бих да прочитам књигу.",
         "Zdravo, kako si? Želeo bih da pročitam knjigu."},
        {"Љубав, Њива, Џеп, ђак, ћуп, чаша, шума, жаба, ц",
         "Ljubav, Njiva, Džep, đak, ćup, čaša, šuma, žaba, c"},
        {"ЉУБАВ ЊИВА ЏЕП", "LJUBAV NJIVA DŽEP"},
        {"абвгдђежзијклљмнњопрстћуфхцчџш", "abvgdđežzijklljmnnjoprstćufhcčdžš"},
        {"2 € 中文", "2 € 中文"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.latin);
        EXPECT_EQ(serbianToLatin(row.cyrillic), row.latin);
        EXPECT_EQ(serbianToCyrillic(row.latin), row.cyrillic);
    }
    EXPECT_TRUE(hasSerbianCyrillic("ok и"));
    EXPECT_FALSE(hasSerbianCyrillic("Zdravo"));
}

TEST(ApyLaunch, SystemPythonIsolatedUnderAUtf8Locale)
{
    const auto args = apyArguments(SystemPython, 4000, "/modes", {});
    EXPECT_EQ(std::vector(args.begin(), args.begin() + 3),
              (std::vector<std::string>{"/usr/bin/python3", "-I", "-c"}));
    EXPECT_EQ(args.back(), "/modes");

    struct Row
    {
        std::vector<std::string> given;
        std::vector<std::string> locale; // the locale entries APy gets
    };
    const Row rows[] = {
        {{"LANG=zh_CN.UTF-8"}, {"LANG=zh_CN.UTF-8"}},
        {{"LC_ALL=en_US.utf8", "LANG=C"}, {"LC_ALL=en_US.utf8", "LANG=C"}},
        {{}, {"LC_ALL=C.UTF-8"}},
        {{"LANG=C"}, {"LANG=C", "LC_ALL=C.UTF-8"}},
        {{"LANG=zh_CN.GB18030"}, {"LANG=zh_CN.GB18030", "LC_ALL=C.UTF-8"}},
        {{"LC_CTYPE=C.UTF-8"}, {"LC_CTYPE=C.UTF-8", "LC_ALL=C.UTF-8"}},
        {{"LANG=en_US.UTF-8", "LC_ALL=C"}, {"LANG=en_US.UTF-8", "LC_ALL=C.UTF-8"}},
    };
    for (const Row &row : rows) {
        std::vector<std::string> given = row.given;
        given.insert(given.end(), {"PATH=/home/u/venv/bin:/usr/bin", "PYTHONPATH=/x",
                                   "PYTHONHOME=/y", "HOME=/home/u"});
        std::vector<std::string> expected = row.locale;
        expected.insert(expected.end(), {"HOME=/home/u", "PATH=/usr/local/bin:/usr/bin:/bin"});
        std::vector<std::string> env = apyEnvironment(given);
        std::sort(env.begin(), env.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(env, expected) << row.given.size();
    }
    EXPECT_EQ(lastLine("[I] starting\nCRITICAL: no locale\n\n  \n"), "CRITICAL: no locale");
}

TEST(ProcessTree, MemoryOfAProcessAndAllBelowIt)
{
    EXPECT_EQ(parentInStat("42 (apertium (x) y) S 7 42 42 0"), 7);
    EXPECT_EQ(parentInStat("garbage"), -1);
    const std::vector<ProcessEntry> processes{
        {1, 0, 5}, {10, 1, 100}, {11, 10, 20}, {12, 11, 3}, {13, 1, 1000}};
    EXPECT_EQ(treeRssKiB(processes, 10), 123);
    EXPECT_EQ(treeRssKiB(processes, 99), 0);
    EXPECT_GT(treeRssKiB(readProcesses(), ::getpid()), 0);
    // smaps_rollup sums its mappings in one Pss line; smaps has one a mapping.
    EXPECT_EQ(pssInSmaps("00400000-ffff [rollup]\nRss:  900 kB\nPss:  120 kB\n"
                         "Pss_Anon:  100 kB\nPss_File:  20 kB\n"),
              120);
    EXPECT_EQ(pssInSmaps("7f00-7f10 r-xp /usr/bin/lt-proc\nPss: 8 kB\nPss_Dirty: 0 kB\n"
                         "7f20-7f30 rw-p\nPss:                 32 kB"),
              40);
}

TEST(ProcessTree, PagesSharedManyTimesCountOnceInTheWatchdogsMeasure)
{
    // A child maps one file many times and reads it through every mapping, as pipelines
    // map the same programs and data: resident sizes add up each time, used memory not.
    constexpr size_t size = 16 << 20;
    constexpr int maps = 24;
    QTemporaryDir dir;
    const std::string file = dir.filePath("shared").toStdString();
    std::ofstream(file, std::ios::binary) << std::string(size, 'x');
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        unsigned sum = 0;
        for (int i = 0; i < maps && fd >= 0; ++i) {
            const auto *bytes = static_cast<const unsigned char *>(
                ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
            for (size_t at = 0; bytes != MAP_FAILED && at < size; at += 4096)
                sum += bytes[at];
        }
        [[maybe_unused]] const auto written = ::write(ready[1], &sum, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool mapped = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    const long rss = treeRssKiB(readProcesses(), child);
    const long used = treePssKiB(child);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(mapped);
    const long fileKiB = size / 1024;
    EXPECT_GE(rss, maps * fileKiB * 9 / 10);
    EXPECT_GE(used, fileKiB * 9 / 10);
    EXPECT_LT(used, rss / 4) << "resident " << rss << " KiB";
}

TEST(RecentPairsTest, LatestFirstKeptAcrossRuns)
{
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("recent").toStdString();
    {
        RecentPairs recent(file, 3);
        for (const char *pair : {"eng|spa", "spa|eng", "eng|cat", "eng|spa", "cat|eng"})
            recent.note(pair);
    }
    EXPECT_EQ(RecentPairs(file, 3).list(),
              (std::vector<std::string>{"cat|eng", "eng|spa", "eng|cat"}));
}

namespace {

std::string googleForm(std::string_view text, std::string_view sl, std::string_view tl)
{
    return "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" + formValue(text) +
           "&file=&sl=" + std::string(sl) + "&tl=" + std::string(tl);
}

template <typename Condition> bool within(std::chrono::milliseconds limit, Condition condition)
{
    const auto until = Clock::now() + limit;
    while (!condition() && Clock::now() < until)
        std::this_thread::sleep_for(20ms);
    return condition();
}

} // namespace

class ApertiumPairs : public SiteServerFixture
{
protected:
    void SetUp() override {}

    void startWith(bool probe, std::chrono::milliseconds wait)
    {
        SiteOptions options;
        options.apertium = apy.address();
        options.apertiumProbe = probe;
        options.apertiumWait = wait;
        options.backendLimit = 2s;
        start(options);
    }

    FakeService apy{FakeService::Kind::Apy, apyPairList({{"eng", "spa"}, {"rus", "ukr"}})};
};

TEST_F(ApertiumPairs, APairThatFailsItsTrialIsNotOffered)
{
    apy.failPair("rus|ukr");
    startWith(true, 2s);
    const auto broken = [this] {
        const auto res = post("/", googleForm("Привет", "ru", "uk"));
        return res && res->status == 501;
    };
    ASSERT_TRUE(within(5s, broken));
    const auto res = post("/", googleForm("Hello", "en", "es"));
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(apy.translations().back().find("markUnknown")->second, "yes");
}

TEST_F(ApertiumPairs, AListThatCameLateIsAskedAgainAnd503Meanwhile)
{
    apy.listReady(false);
    startWith(false, 100ms);
    const auto early = post("/", googleForm("Hello", "en", "es"));
    ASSERT_TRUE(early);
    EXPECT_EQ(early->status, 503) << early->body;
    apy.listReady(true);
    ASSERT_TRUE(within(4s, [this] {
        const auto res = post("/", googleForm("Hello", "en", "es"));
        return res && res->status == 200;
    }));
}

TEST(ApertiumBroken, TheFailedPairsAreNamedWithTheirReason)
{
    FakeService apy{FakeService::Kind::Apy, apyPairList({{"eng", "spa"}, {"rus", "ukr"}})};
    apy.failPair("rus|ukr");
    ApertiumOptions options;
    options.probe = true;
    options.trialPause = 100ms;
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    backend.start();
    ASSERT_TRUE(within(5s, [&backend] { return !backend.brokenPairs().empty(); }));
    EXPECT_EQ(backend.brokenPairs(),
              std::vector<std::string>{"rus|ukr: apertium answered 503: internal error"});
    EXPECT_EQ(backend.offers({"en", "es"}), Offer::Yes);
}

TEST(ApertiumBroken, APairNotTriedYetThatFailsIsTriedAndNotServed)
{
    // The pairs tried first keep rus|ukr's own trial minutes away.
    std::vector<std::pair<std::string, std::string>> listed{{"rus", "ukr"}};
    for (const char *to : {"afr", "bel", "cat", "deu", "fra", "glg", "ita", "nld", "por", "spa"})
        listed.emplace_back("eng", to);
    FakeService apy{FakeService::Kind::Apy, apyPairList(listed)};
    apy.failPair("rus|ukr");
    ApertiumOptions options;
    options.probe = true;
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    backend.start();
    ASSERT_TRUE(backend.waitKnown(Clock::now() + 5s));
    EXPECT_TRUE(backend.brokenPairs().empty());
    const Translation early = backend.translate("Привет", {"ru", "uk"}, Clock::now() + 5s);
    EXPECT_EQ(early.outcome, Translation::Outcome::Unsupported);
    EXPECT_EQ(early.status, 501) << early.reason;
    EXPECT_EQ(backend.offers({"ru", "uk"}), Offer::No);
    EXPECT_EQ(backend.translate("Hello", {"en", "es"}, Clock::now() + 5s).status, 200);
}
