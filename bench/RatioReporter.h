// A console reporter that also pairs the runs of two contenders ("<name>/mirel/<args>"
// and "<name>/curl/<args>") and prints, at the end, how much faster the client is.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace mirel::bench {

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    // case name without the contender -> contender -> real time per iteration (ns)
    std::map<std::string, std::map<std::string, double>> m_times;
};

} // namespace mirel::bench
