#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// The programs of an Apertium mode ("lt-proc -w 'a.bin' | apertium-tagger -g $2 'b.prob'
// | …") as APy runs them: one command a stage, $1 as -g, $2 as nothing, quotes dropped,
// and -z (flush at each NUL) given to every program that takes it. Empty for no stage.
std::vector<std::vector<std::string>> modeCommands(std::string_view mode);

// The mode file APy serves a pair it lists under ("spa", "fra": es-fr.mode or
// spa-fra.mode) in its modes folder and below; empty when there is none.
std::filesystem::path modeFileFor(const std::filesystem::path &folder, std::string_view from,
                                  std::string_view to);

} // namespace mirel::siteserver
