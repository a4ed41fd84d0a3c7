#pragma once

#include "sites/apertium/PipelineRun.h"

#include <filesystem>

namespace mirel::siteserver {

// A pair's trial outside APy, run as APy runs a translation: the sentence made Apertium's
// text by apertium-deshtml, then the pair's programs (its mode file) flushing at a NUL,
// with APy's environment (trusted PATH, a UTF-8 locale). Its programs are ended after, so
// a trial leaves no pipeline behind.
PipelineRun tryModeFile(const std::filesystem::path &modeFile, const std::string &sentence,
                        Clock::time_point deadline, std::stop_token stop = {});

} // namespace mirel::siteserver
