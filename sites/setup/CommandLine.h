#pragma once

#include "sites/setup/SitesSettings.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// What mirel-sites' command line asks for: <port> [options]. A setting is an option
// (--name value), except a secret: its value would be seen by every local user in ps, so
// it is refused there and read from a file instead (--name-file PATH).
struct CommandLine
{
    bool help = false;
    long port = 0;
    bool relayBusy = false;
    bool quiet = false;
    bool readSettings = true;
    std::string data;
    SitesSettings given;
    std::vector<std::pair<std::string, std::filesystem::path>> secretFiles; // setting, file
    bool wrong = false;  // not a command line of this program: show the usage
    std::string refusal; // a secret given as a value: why and where it belongs instead
};

// args without the program's name; settingsFile: the user's settings file, named in a
// refusal.
CommandLine parseCommandLine(const std::vector<std::string> &args,
                             const std::filesystem::path &settingsFile);

// The secret a file holds: its one line, without the line end and the blanks around it.
// Throws DataFileError ("file: what") for a file that cannot be read, is empty or holds
// more than one line.
std::string readSecretFile(const std::filesystem::path &file);

} // namespace mirel::siteserver
