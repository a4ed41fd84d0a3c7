#include "sites/apertium/ApyLaunch.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace mirel::siteserver {
namespace {

// APy binds to every interface by default; the launcher binds its server to 127.0.0.1.
constexpr const char *kLauncher = "import sys, tornado.httpserver as h\n"
                                  "bind = h.HTTPServer.bind\n"
                                  "h.HTTPServer.bind = lambda self, port, address=None, *a, **k: "
                                  "bind(self, port, '127.0.0.1', *a, **k)\n"
                                  "sys.argv[0] = 'apertium-apy'\n"
                                  "from apertium_apy.apy import main\n"
                                  "main()\n";

std::string_view nameOf(std::string_view entry)
{
    return entry.substr(0, entry.find('='));
}

std::optional<std::string_view> valueOf(const std::vector<std::string> &env, std::string_view name)
{
    for (const std::string &entry : env)
        if (nameOf(entry) == name && entry.size() > name.size())
            return std::string_view(entry).substr(name.size() + 1);
    return std::nullopt;
}

bool isUtf8(std::optional<std::string_view> locale)
{
    if (!locale)
        return false;
    std::string lower(*locale);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

bool nonEmpty(std::optional<std::string_view> value)
{
    return value && !value->empty();
}

} // namespace

std::vector<std::string> apyArguments(const std::string &interpreter, int port,
                                      const std::string &modesFolder, const ApyTuning &tuning)
{
    return {interpreter,
            "-I",
            "-c",
            kLauncher,
            "--port",
            std::to_string(port),
            "--min-pipes-per-pair",
            "0",
            "--max-pipes-per-pair",
            "1",
            "--max-idle-secs",
            std::to_string(tuning.maxIdleSeconds),
            "--restart-pipe-after",
            std::to_string(tuning.restartPipeAfter),
            modesFolder};
}

std::vector<std::string> apyEnvironment(const std::vector<std::string> &inherited)
{
    // The locale the C library and Python take for text: LC_ALL, else LC_CTYPE, else LANG.
    const auto all = valueOf(inherited, "LC_ALL");
    const auto ctype = nonEmpty(all)                              ? all
                       : nonEmpty(valueOf(inherited, "LC_CTYPE")) ? valueOf(inherited, "LC_CTYPE")
                                                                  : valueOf(inherited, "LANG");
    // APy itself asks LANG or LC_ALL.
    const bool keepLocale = isUtf8(ctype) && (isUtf8(all) || isUtf8(valueOf(inherited, "LANG")));
    std::vector<std::string> env;
    for (const std::string &entry : inherited) {
        const std::string_view name = nameOf(entry);
        if (name.rfind("PYTHON", 0) == 0 || name == "PATH" || (!keepLocale && name == "LC_ALL"))
            continue;
        env.push_back(entry);
    }
    env.push_back(std::string("PATH=") + TrustedPath);
    if (!keepLocale)
        env.push_back("LC_ALL=C.UTF-8");
    return env;
}

std::string lastLine(std::string_view output)
{
    while (!output.empty()) {
        const size_t end = output.find_last_not_of(" \t\r\n");
        if (end == std::string_view::npos)
            return {};
        output = output.substr(0, end + 1);
        const size_t start = output.find_last_of('\n');
        const std::string_view line =
            start == std::string_view::npos ? output : output.substr(start + 1);
        if (!line.empty())
            return std::string(line.substr(0, 300));
    }
    return {};
}

} // namespace mirel::siteserver
