#pragma once

#include "sites/backends/Translation.h"

#include <string>
#include <sys/types.h>

namespace mirel::sites {

// APy, Apertium's HTTP service, run as a child on a free loopback port: started with
// the pairs installed in modesFolder, listening on 127.0.0.1 only, ended (with its
// pipelines) when this object goes or the server dies.
class ApyProcess
{
public:
    static constexpr const char *DefaultModes = "/usr/share/apertium/modes";

    ApyProcess() = default;
    ~ApyProcess();
    ApyProcess(const ApyProcess &) = delete;
    ApyProcess &operator=(const ApyProcess &) = delete;

    // Starts APy and waits until it answers its pair list. An empty text on success,
    // else why not (APy missing, ended early, silent until the deadline).
    std::string start(const std::string &modesFolder, Clock::time_point deadline);
    void stop();

    bool running() const { return m_pid > 0; }
    // "http://127.0.0.1:<port>"
    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

} // namespace mirel::sites
