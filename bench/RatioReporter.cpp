#include "RatioReporter.h"

#include <cstdio>

namespace mirel::bench {

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration)
            continue;
        const std::string name = run.benchmark_name();
        for (const char *who : {"mirel", "curl"}) {
            const std::string tag = std::string("/") + who + "/";
            const auto at = name.find(tag);
            if (at == std::string::npos)
                continue;
            const std::string key = name.substr(0, at) + "/" + name.substr(at + tag.size());
            m_times[key][who] = run.GetAdjustedRealTime();
        }
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    if (m_times.empty())
        return;
    std::printf("\n%-32s %12s %12s %8s\n", "case (bytes)", "mirel", "curl", "curl/mirel");
    for (const auto &[key, times] : m_times) {
        const auto mirel = times.find("mirel");
        const auto curl = times.find("curl");
        if (mirel == times.end() || curl == times.end())
            continue;
        std::printf("%-32s %12.0f %12.0f %8.2f\n", key.c_str(), mirel->second, curl->second,
                    curl->second / mirel->second);
    }
    std::printf("(times per request in the unit printed above; a ratio of 1 or more means the "
                "client is at least as fast as curl)\n");
}

} // namespace mirel::bench
