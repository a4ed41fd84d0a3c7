// A fresh user's first start of Apertium: APy started and watched as the site server does
// it, every pair it lists tried once in the background (an empty cache folder), and a
// translation made once a second meanwhile. Prints one line every 10 s (the tree's
// proportional set size, its summed resident size, the pairs tried) and, at the end, the
// peaks, APy's starts and the failed translations by status.
//   mirel_apertium_memory_bench [budget MiB = 1024] [minutes = 5] [apy: trials through APy]
#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApySupervisor.h"
#include "sites/apertium/ProcessTree.h"

#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string_view>
#include <thread>
#include <unistd.h>

using namespace mirel::siteserver;
using Seconds = std::chrono::duration<double>;

int main(int argc, char **argv)
{
    const long budget = argc > 1 ? std::atol(argv[1]) : 1024;
    const double minutes = argc > 2 ? std::atof(argv[2]) : 5;
    // "apy": the pairs are tried through APy, as for an APy the user runs.
    const bool throughApy = argc > 3 && std::string_view(argv[3]) == "apy";
    const auto begin = Clock::now();
    const auto stamp = [&begin] { return Seconds(Clock::now() - begin).count(); };
    const QTemporaryDir cache;
    std::atomic<int> starts = 0;
    std::atomic<int> afresh = 0;
    ApyWatch watch;
    watch.memoryMiB = budget;
    ApySupervisor apy({}, watch, [&](const std::string &line) {
        if (line.rfind("APy started", 0) == 0)
            ++starts;
        if (line.find("started afresh") != std::string::npos)
            ++afresh;
        std::printf("%7.1f s  %s\n", stamp(), line.c_str());
        std::fflush(stdout);
    });
    ApertiumOptions options;
    options.cacheFolder = cache.path().toStdString();
    options.probe = true;
    options.log = [&stamp](const std::string &line) {
        std::printf("%7.1f s  %s\n", stamp(), line.c_str());
    };
    ApertiumBackend backend(*parseServiceAddress(apy.address()), options);
    if (!throughApy)
        backend.tryPairsOutside(ApyProcess::DefaultModes);
    backend.start();
    apy.start(
        [&backend] {
            backend.askAgain();
            if (backend.waitKnown(Clock::now() + std::chrono::seconds(10)))
                backend.warm(3);
        },
        [&backend] { return backend.busy(); });

    // Before APy answers its pair list the server offers no Apertium pair ("not ready yet").
    if (!backend.waitKnown(Clock::now() + std::chrono::minutes(2))) {
        std::printf("APy did not answer its pair list within 2 minutes\n");
        return 1;
    }
    std::printf("%7.1f s  APy's pair list known: translations start\n", stamp());
    const pid_t self = ::getpid();
    long peakPss = 0;
    long peakApy = 0;
    long peakRss = 0;
    int made = 0;
    std::map<int, int> failed; // by status
    double slowest = 0;
    auto report = Clock::now();
    const auto end = Clock::now() + std::chrono::duration<double, std::ratio<60>>(minutes);
    for (int i = 0; Clock::now() < end; ++i) {
        const auto next = Clock::now() + std::chrono::seconds(1);
        const LanguagePair pair = i % 2 ? LanguagePair{"es", "en"} : LanguagePair{"en", "es"};
        const auto start = Clock::now();
        const Translation t =
            backend.translate(i % 2 ? "Me gustaría leer un libro." : "I would like to read a book.",
                              pair, start + std::chrono::seconds(10));
        slowest = std::max(slowest, Seconds(Clock::now() - start).count());
        ++made;
        if (t.outcome != Translation::Outcome::Translated) {
            ++failed[t.status];
            std::printf("%7.1f s  failed with %d: %s\n", stamp(), t.status, t.reason.c_str());
        }
        const long pss = treePssKiB(self) / 1024;
        const pid_t apyPid = apy.pid();
        const long apyPss = apyPid > 0 ? treePssKiB(apyPid) / 1024 : 0;
        peakApy = std::max(peakApy, apyPss);
        const long rss = treeRssKiB(readProcesses(), self) / 1024;
        peakPss = std::max(peakPss, pss);
        peakRss = std::max(peakRss, rss);
        if (Clock::now() - report >= std::chrono::seconds(10)) {
            report = Clock::now();
            std::ifstream verdicts(cache.path().toStdString() + "/apertium-pairs.tsv");
            const auto tried = std::count(std::istreambuf_iterator<char>(verdicts),
                                          std::istreambuf_iterator<char>(), '\n');
            std::printf("%7.1f s  PSS %ld MiB (APy's tree %ld), summed RSS %ld MiB, %ld pairs "
                        "tried, %zu failed, slowest %.2f s\n",
                        stamp(), pss, apyPss, rss, long(tried), backend.brokenPairs().size(),
                        slowest);
            std::fflush(stdout);
            slowest = 0;
        }
        std::this_thread::sleep_until(next);
    }
    int failures = 0;
    for (const auto &[status, count] : failed) {
        std::printf("failed with %d: %d\n", status, count);
        failures += count;
    }
    std::printf("budget %ld MiB: peak PSS %ld MiB (APy's tree %ld), peak summed RSS %ld MiB, "
                "APy started %d "
                "times (%d for memory), %d of %d translations failed, %zu pairs failed their "
                "trial\n",
                budget, peakPss, peakApy, peakRss, starts.load(), afresh.load(), failures, made,
                backend.brokenPairs().size());
    return 0;
}
