#pragma once

#include "sites/apertium/ApyLaunch.h"
#include "sites/core/Clock.h"

#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>
#include <sys/types.h>
#include <vector>

namespace mirel::siteserver {

struct ApyOptions
{
    std::string modesFolder = "/usr/share/apertium/modes";
    std::string interpreter = SystemPython;
    ApyTuning tuning;
    std::filesystem::path log;             // APy's output; empty: the cache folder's apy.log
    std::uintmax_t logLimit = 1024 * 1024; // beyond it the log moves to <log>.1 at a start
    std::vector<std::string> environment;  // empty: the server's own
};

// APy, Apertium's HTTP service, run as a child on a loopback port chosen once (a restart
// listens on the same one): listening on 127.0.0.1 only, in its own process group with
// its pipelines, its output in a log file, ended when this object goes or the server dies.
class ApyProcess
{
public:
    static constexpr const char *DefaultModes = "/usr/share/apertium/modes";

    explicit ApyProcess(ApyOptions options = {});
    ~ApyProcess();
    ApyProcess(const ApyProcess &) = delete;
    ApyProcess &operator=(const ApyProcess &) = delete;

    // Starts APy and waits until it answers its pair list (or a stop is asked for). An
    // empty text on success, else why not, with APy's own last output line when it ended.
    std::string start(Clock::time_point deadline, std::stop_token stop = {});
    // Compatibility with callers that name the modes folder.
    std::string start(const std::string &modesFolder, Clock::time_point deadline);
    // Ends APy and its pipelines.
    void stop();
    // When APy has ended since it started: reaps it and says how ("killed by signal 9",
    // "exit 1: <its last line>"); nothing while it runs or when not started.
    std::optional<std::string> ended();

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>"
    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    const std::filesystem::path &logFile() const { return m_options.log; }

private:
    std::string spawn();
    std::string how(int status) const;

    ApyOptions m_options;
    pid_t m_pid = -1;
    int m_port = 0;
    std::uintmax_t m_logStart = 0; // where the output of APy's last start begins in its log
};

// The user's cache folder for the server: $XDG_CACHE_HOME/mirel or ~/.cache/mirel (made
// when missing); empty when there is none.
std::filesystem::path mirelCacheFolder();

} // namespace mirel::siteserver
