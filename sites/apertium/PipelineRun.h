#pragma once

#include "sites/core/Clock.h"

#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

struct PipelineRun
{
    enum class End { Answered, Failed, TimedOut, Stopped };
    End end = End::Failed;
    std::string output; // the last program's (at a mark: before it, without NULs)
    std::string why;    // when not answered: which program failed how, its last error line
};

// AtEnd: the input is closed after it is written, the answer is all the output once every
// program ended well. AtMark: the input is followed by a NUL, a mark of this run and a NUL
// and stays open (the programs flush at each NUL, as under APy); the answer is the output
// before the mark. Programs that end early may still flush their NULs: only the mark
// tells an answer.
enum class PipelineAnswer { AtEnd, AtMark };

// Runs the commands as one pipeline, each program's output the next one's input, in a
// process group of its own with the environment given (programs are looked for in its
// PATH), until the answer, the deadline or a stop; the group is killed after, whatever
// happened, and every program reaped.
PipelineRun runPipeline(const std::vector<std::vector<std::string>> &commands,
                        std::string_view input, PipelineAnswer answer,
                        const std::vector<std::string> &environment, Clock::time_point deadline,
                        std::stop_token stop = {});

} // namespace mirel::siteserver
