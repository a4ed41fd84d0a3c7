#include "sites/setup/CommandLine.h"

#include "sites/core/DataFile.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace mirel::siteserver {
namespace {

constexpr std::string_view kFileSuffix = "-file";

const SettingInfo *secretOfFileOption(std::string_view option)
{
    if (!option.ends_with(kFileSuffix))
        return nullptr;
    const SettingInfo *info = findSetting(option.substr(0, option.size() - kFileSuffix.size()));
    return info && info->secret ? info : nullptr;
}

std::string refusalFor(std::string_view name, const std::filesystem::path &settingsFile)
{
    const std::string setting(name);
    return "--" + setting + " on the command line would show the key to every user (ps); put \"" +
           setting + " = ...\" in " + settingsFile.string() + " (chmod 600), or give --" + setting +
           "-file FILE with the key in FILE";
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string> &args,
                             const std::filesystem::path &settingsFile)
{
    CommandLine line;
    for (const std::string &arg : args)
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            return line;
        }
    if (args.empty()) {
        line.wrong = true;
        return line;
    }
    const std::string &port = args[0];
    const char *end = port.data() + port.size();
    const auto [last, error] = std::from_chars(port.data(), end, line.port);
    if (port.empty() || error != std::errc() || last != end || line.port < 0 || line.port > 65535) {
        line.wrong = true;
        return line;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string name = arg.starts_with("--") ? arg.substr(2) : std::string();
        const SettingInfo *setting = name.empty() ? nullptr : findSetting(name);
        if (arg == "--busy") {
            line.relayBusy = true;
        } else if (arg == "--quiet") {
            line.quiet = true;
        } else if (arg == "--no-settings") {
            line.readSettings = false;
        } else if (setting && setting->secret) {
            line.refusal = refusalFor(name, settingsFile);
            return line;
        } else if (setting && hasValue) {
            line.given.set(name, args[++i]);
        } else if (const SettingInfo *secret = secretOfFileOption(name); secret && hasValue) {
            line.secretFiles.emplace_back(std::string(secret->name), args[++i]);
        } else if (arg == "--data" && hasValue) {
            line.data = args[++i];
        } else {
            line.wrong = true;
            return line;
        }
    }
    return line;
}

std::string readSecretFile(const std::filesystem::path &file)
{
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        throwDataError(file, 0, "is a folder, not a file holding the key");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throwDataError(file, 0, "cannot be read");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throwDataError(file, 0, "cannot be read");
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        throwDataError(file, 0, "is empty; it should hold the key on one line");
    const size_t lastChar = text.find_last_not_of(" \t\r\n");
    std::string key = text.substr(first, lastChar - first + 1);
    if (key.find_first_of("\r\n") != std::string::npos)
        throwDataError(file, 0, "holds more than one line; it should hold the key alone");
    return key;
}

} // namespace mirel::siteserver
