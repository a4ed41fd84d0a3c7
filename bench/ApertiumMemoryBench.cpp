// The memory of the site server's process tree (the server, APy and its pipelines) while
// every Apertium pair is used once and then two pairs are used for some minutes, under
// the apertium-memory budget. Prints one line every 10 s and the slowest answer of the
// two pairs.
//   mirel_apertium_memory_bench [budget MiB = 1024] [minutes with two pairs = 5]
#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApySupervisor.h"
#include "sites/apertium/ProcessTree.h"
#include "sites/gateway/JsonAnswer.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

using namespace mirel::siteserver;
using Seconds = std::chrono::duration<double>;

namespace {

long treeMiB()
{
    return treeRssKiB(readProcesses(), ::getpid()) / 1024;
}

std::vector<std::string> listedPairs(const ServiceAddress &apy)
{
    const HttpReply reply =
        callBounded(apy, {"GET", "/listPairs", {}, {}}, Clock::now() + std::chrono::seconds(10));
    const JsonAnswer answer = readJsonAnswer(reply, "apertium");
    std::vector<std::string> pairs;
    if (answer.document)
        for (const auto &entry : answer.document->object().value(u"responseData").toArray())
            pairs.push_back(entry.toObject().value(u"sourceLanguage").toString().toStdString() +
                            "|" +
                            entry.toObject().value(u"targetLanguage").toString().toStdString());
    return pairs;
}

// Seconds for one translation, negative when it failed.
double translate(const ServiceAddress &apy, const std::string &pair)
{
    const auto start = Clock::now();
    const HttpReply reply = callBounded(
        apy,
        {"POST", "/translate",
         "langpair=" + QUrl::toPercentEncoding(QByteArray::fromStdString(pair)).toStdString() +
             "&q=Hello%2C%20how%20are%20you%3F%20I%20would%20like%20to%20read%20a%20book.",
         "application/x-www-form-urlencoded"},
        Clock::now() + std::chrono::seconds(20));
    const double took = Seconds(Clock::now() - start).count();
    return reply.failure == HttpReply::Failure::None && reply.status == 200 ? took : -took;
}

} // namespace

int main(int argc, char **argv)
{
    const long budget = argc > 1 ? std::atol(argv[1]) : 1024;
    const double minutes = argc > 2 ? std::atof(argv[2]) : 5;
    const auto begin = Clock::now();
    const auto stamp = [&begin] { return Seconds(Clock::now() - begin).count(); };
    ApyWatch watch;
    watch.memoryMiB = budget;
    ApySupervisor apy({}, watch, [&stamp](const std::string &line) {
        std::printf("%7.1f s  %s\n", stamp(), line.c_str());
    });
    const ServiceAddress service = *parseServiceAddress(apy.address());
    ApertiumBackend backend(service);
    backend.start();
    apy.start(
        [&backend] {
            backend.askAgain();
            backend.waitKnown(Clock::now() + std::chrono::seconds(10));
            backend.warm(2);
        },
        [] { return false; });
    if (const std::string error = apy.waitStarted(Clock::now() + std::chrono::seconds(60));
        !error.empty()) {
        std::fprintf(stderr, "apertium memory bench: %s\n", error.c_str());
        return 1;
    }
    std::printf("%7.1f s  started: %ld MiB (budget %ld MiB)\n", stamp(), treeMiB(), budget);
    const std::vector<std::string> pairs = listedPairs(service);
    long peak = 0;
    int failed = 0;
    for (const std::string &pair : pairs) {
        failed += translate(service, pair) < 0 ? 1 : 0;
        peak = std::max(peak, treeMiB());
    }
    std::printf("%7.1f s  each of %zu pairs used once: %ld MiB now, %ld MiB at most, %d failed\n",
                stamp(), pairs.size(), treeMiB(), peak, failed);
    double slowest = 0;
    int twoFailed = 0;
    auto report = Clock::now();
    const auto end = Clock::now() + std::chrono::duration<double, std::ratio<60>>(minutes);
    while (Clock::now() < end) {
        for (const char *pair : {"eng|spa", "spa|eng"}) {
            const double took = translate(service, pair);
            twoFailed += took < 0 ? 1 : 0;
            slowest = std::max(slowest, std::abs(took));
        }
        if (Clock::now() - report >= std::chrono::seconds(10)) {
            report = Clock::now();
            std::printf("%7.1f s  two pairs: %ld MiB, slowest answer %.2f s, %d failed\n", stamp(),
                        treeMiB(), slowest, twoFailed);
            std::fflush(stdout);
            slowest = 0;
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
    }
    return 0;
}
