// mirel-sites <port> [options]: the local site server for every outside site of Mirel,
// on 127.0.0.1, translating through OpenCC, the translation services set up, Apertium
// and the glossary.
#include "sites/apertium/ApertiumBackend.h"
#include "sites/apertium/ApySupervisor.h"
#include "sites/core/DataFile.h"
#include "sites/server/SiteServer.h"
#include "sites/setup/CommandLine.h"
#include "sites/setup/SettingsFileCheck.h"
#include "sites/setup/SitesSettings.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The usage text on stdout (exit 0) when asked for, else on stderr (exit 2).
int usage(const char *program, bool asked = false)
{
    std::string text = std::string("usage: ") + program +
                       " <port> [options]\n"
                       "  <port>                     port to listen on at 127.0.0.1 (0: any free "
                       "port)\n";
    for (const auto &info : mirel::siteserver::knownSettings()) {
        // A secret comes from a file: on the command line every user would see it.
        std::string option = "  --";
        option += info.name;
        if (info.secret) {
            option += "-file FILE";
        } else {
            option += ' ';
            option += info.value;
        }
        option.resize(std::max<size_t>(option.size() + 1, 29), ' ');
        text += option + std::string(info.help) + (info.secret ? ", read from FILE" : "") + "\n";
    }
    text += "  --data DIR                 folder of glossary.tsv and dictionary.txt\n"
            "  --no-settings              ignore /etc/mirel/sites.conf and the user's sites.conf\n"
            "  --busy                     the Baidu relay answers with its busy page\n"
            "  --quiet                    do not log requests\n"
            "  --help                     this text\n"
            "Settings files hold the same settings as name = value lines, keys too.\n";
    std::fputs(text.c_str(), asked ? stdout : stderr);
    return asked ? 0 : 2;
}

std::filesystem::path programPath(const char *argv0)
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(argv0) : self;
}

// The apertium-memory setting in MiB (default 1024).
long memoryBudget(const std::optional<std::string> &setting)
{
    if (!setting)
        return 1024;
    char *end = nullptr;
    const long mib = std::strtol(setting->c_str(), &end, 10);
    if (setting->empty() || *end != '\0' || mib < 64)
        throw std::invalid_argument("apertium-memory must be a number of MiB, at least 64: " +
                                    *setting);
    return mib;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace mirel::siteserver;
    const CommandLine line =
        parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), settingsFiles().back());
    if (line.help)
        return usage(argv[0], true);
    if (!line.refusal.empty()) {
        std::fprintf(stderr, "mirel-sites: %s\n", line.refusal.c_str());
        return 2;
    }
    if (line.wrong)
        return usage(argv[0]);
    const long port = line.port;

    SiteOptions options;
    options.logRequests = !line.quiet;
    options.relayBusy = line.relayBusy;
    SitesSettings given = line.given;
    const std::string &data = line.data;
    const bool readSettings = line.readSettings;

    // SIGINT and SIGTERM are taken by a waiting thread that stops the server cleanly.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<ApySupervisor> apy;
    std::unique_ptr<SiteServer> server;
    try {
        SitesSettings settings;
        if (readSettings)
            for (const auto &file : settingsFiles()) {
                const SitesSettings held = readSettingsFile(file);
                if (const std::string warning = secretFileWarning(file, held); !warning.empty()) {
                    std::fprintf(stderr, "mirel-sites: %s\n", warning.c_str());
                    options.settingsWarnings.push_back(warning);
                }
                settings.apply(held);
            }
        for (const auto &[name, file] : line.secretFiles) {
            given.set(name, readSecretFile(file));
            SitesSettings held;
            held.set(name, given.value(name));
            if (const std::string warning = secretFileWarning(file, held); !warning.empty())
                std::fprintf(stderr, "mirel-sites: %s\n", warning.c_str());
        }
        settings.apply(given);
        options.dataFolder = dataFolder(data, programPath(argv[0]));
        options.services = settings;
        if (const auto files = settingsFiles(); readSettings && files.size() > 1)
            options.settingsFile = files.back();
        options.cacheFolder = mirelCacheFolder();
        options.apertiumProbe = true;
        options.apertiumWait = std::chrono::milliseconds(0);
        const auto apertium = settings.get("apertium");
        if (apertium && *apertium != "off") {
            options.apertium = *apertium;
        } else if (!apertium) {
            ApyWatch watch;
            watch.memoryMiB = memoryBudget(settings.get("apertium-memory"));
            apy = std::make_unique<ApySupervisor>(ApyOptions{}, watch, [](const std::string &line) {
                std::fprintf(stderr, "mirel-sites: %s\n", line.c_str());
            });
            options.apertium = apy->address();
        }
        server = std::make_unique<SiteServer>(options);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "mirel-sites: %s\n", e.what());
        return 1;
    }
    // The port first: a second server on a taken port ends here, before starting an APy.
    if (server->bind(int(port)) < 0) {
        std::fprintf(stderr, "mirel-sites: cannot listen on 127.0.0.1:%ld: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "mirel-sites: listening on %s%s\n", server->baseAddress().c_str(),
                 options.relayBusy ? " (relay busy)" : "");

    // The pairs used last are started in the background, so that their first click is as
    // quick as the later ones: after each start of APy, or once an APy given by address
    // has answered.
    ApertiumBackend *const backend = server->apertium();
    const auto warmUp = [backend] {
        backend->askAgain();
        if (backend->waitKnown(Clock::now() + std::chrono::seconds(10)))
            backend->warm(3);
    };
    std::thread firstWarmUp;
    if (apy && backend) {
        backend->tryPairsOutside(ApyProcess::DefaultModes);
        apy->start(warmUp, [backend] { return backend->busy(); });
    } else if (backend)
        firstWarmUp = std::thread([backend] {
            if (backend->waitKnown(Clock::now() + std::chrono::minutes(2)))
                backend->warm(3);
        });

    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server->stop();
    });
    const bool served = server->serve();
    // Wake the stopper if the server ended on its own.
    if (stopper.joinable()) {
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    if (firstWarmUp.joinable())
        firstWarmUp.join();
    apy.reset();
    return served ? 0 : 1;
}
