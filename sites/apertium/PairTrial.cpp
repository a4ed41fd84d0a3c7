#include "sites/apertium/PairTrial.h"

#include "sites/apertium/ApyLaunch.h"
#include "sites/apertium/ModeFile.h"

#include <fstream>
#include <sstream>

extern char **environ;

namespace mirel::siteserver {

PipelineRun tryModeFile(const std::filesystem::path &modeFile, const std::string &sentence,
                        Clock::time_point deadline, std::stop_token stop)
{
    std::ifstream in(modeFile);
    std::stringstream text;
    text << in.rdbuf();
    const auto commands = modeCommands(text.str());
    if (!in || commands.empty())
        return {PipelineRun::End::Failed, {}, "cannot read " + modeFile.filename().string()};
    std::vector<std::string> inherited;
    for (char **entry = environ; entry && *entry; ++entry)
        inherited.emplace_back(*entry);
    const std::vector<std::string> env = apyEnvironment(inherited);
    PipelineRun deformatted =
        runPipeline({{"apertium-deshtml"}}, sentence, PipelineAnswer::AtEnd, env, deadline, stop);
    if (deformatted.end != PipelineRun::End::Answered)
        return deformatted;
    return runPipeline(commands, deformatted.output, PipelineAnswer::AtMark, env, deadline, stop);
}

} // namespace mirel::siteserver
