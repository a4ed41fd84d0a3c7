#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// How APy is told to keep its pipelines.
struct ApyTuning
{
    int maxIdleSeconds = 600;       // a pipeline unused this long goes (on the next request)
    int restartPipeAfter = 1000000; // requests before APy restarts a pipeline
};

// The system interpreter APy runs under, whatever is first on PATH.
inline constexpr const char *SystemPython = "/usr/bin/python3";
// The only folders APy (and the Apertium programs it starts) look in for programs.
inline constexpr const char *TrustedPath = "/usr/local/bin:/usr/bin:/bin";

// APy's command line: the interpreter isolated from the user's Python (-I: no PYTHON*
// variables, no user site folder), a launcher that binds APy to 127.0.0.1, and its options.
std::vector<std::string> apyArguments(const std::string &interpreter, int port,
                                      const std::string &modesFolder, const ApyTuning &tuning);

// APy's environment made from the server's ("NAME=value" entries): PYTHON* variables go,
// PATH is the trusted one, and a locale without UTF-8 (APy refuses to run under one)
// becomes LC_ALL=C.UTF-8; a UTF-8 locale of the user stays as it is.
std::vector<std::string> apyEnvironment(const std::vector<std::string> &inherited);

// The last line with text in APy's output (its error when it ended at start).
std::string lastLine(std::string_view output);

} // namespace mirel::siteserver
