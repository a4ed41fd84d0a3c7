#include "sites/apertium/ModeFile.h"

#include "sites/languages/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace mirel::siteserver {
namespace {

std::string_view trimmed(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1);
}

// Programs that read NUL as text, not as a flush.
bool takesFlush(std::string_view program)
{
    constexpr std::array<std::string_view, 5> without{"vislcg3", "cg-mwesplit", "hfst-tokenise",
                                                      "hfst-tokenize", "divvun-suggest"};
    return std::none_of(without.begin(), without.end(), [program](std::string_view name) {
        return program.substr(0, name.size()) == name;
    });
}

std::vector<std::string> words(std::string_view stage)
{
    std::vector<std::string> out;
    size_t at = 0;
    while ((at = stage.find_first_not_of(" \t\r\n", at)) != std::string_view::npos) {
        const size_t end = std::min(stage.find_first_of(" \t\r\n", at), stage.size());
        std::string word(stage.substr(at, end - at));
        word.erase(0, word.find_first_not_of('\''));
        word.erase(word.find_last_not_of('\'') + 1);
        out.push_back(std::move(word));
        at = end;
    }
    return out;
}

// "es" or "es_ES": a code in a mode file's name as APy reads it.
bool isModeCode(std::string_view code)
{
    const size_t bar = std::min(code.find('_'), code.size());
    const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    const auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    return bar >= 2 && bar <= 3 && std::all_of(code.begin(), code.begin() + bar, lower) &&
           (bar == code.size() ||
            (bar + 1 < code.size() && std::all_of(code.begin() + bar + 1, code.end(), alnum)));
}

// Whether a mode file's code ("es_ES") names the code APy lists ("spa_ES"): APy lists a
// two-letter code under its three-letter one.
bool sameCode(std::string_view inFile, std::string_view listed)
{
    const size_t fileBar = inFile.find('_');
    const size_t listedBar = listed.find('_');
    if (inFile.substr(std::min(fileBar, inFile.size())) !=
        listed.substr(std::min(listedBar, listed.size())))
        return false;
    const std::string_view base = inFile.substr(0, fileBar);
    const std::string_view listedBase = listed.substr(0, listedBar);
    if (base == listedBase)
        return true;
    if (base.size() != 2)
        return false;
    const std::vector<std::string> codes = apertiumCodes(base);
    return std::find(codes.begin(), codes.end(), listedBase) != codes.end();
}

} // namespace

std::vector<std::vector<std::string>> modeCommands(std::string_view mode)
{
    std::vector<std::vector<std::string>> commands;
    size_t start = 0;
    while (start <= mode.size()) {
        const size_t bar = std::min(mode.find('|', start), mode.size());
        std::string stage(trimmed(mode.substr(start, bar - start)));
        start = bar + 1;
        for (size_t at; (at = stage.find("$2")) != std::string::npos;)
            stage.erase(at, 2);
        for (size_t at; (at = stage.find("$1")) != std::string::npos;)
            stage.replace(at, 2, "-g");
        std::vector<std::string> command = words(stage);
        if (command.empty())
            continue;
        if (takesFlush(command.front()))
            command.insert(command.begin() + 1, "-z");
        commands.push_back(std::move(command));
    }
    return commands;
}

std::filesystem::path modeFileFor(const std::filesystem::path &folder, std::string_view from,
                                  std::string_view to)
{
    std::error_code error;
    const std::filesystem::path exact =
        folder / (std::string(from) + "-" + std::string(to) + ".mode");
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    using Walk = std::filesystem::recursive_directory_iterator;
    for (Walk it(folder, std::filesystem::directory_options::follow_directory_symlink, error), end;
         !error && it != end; it.increment(error)) {
        if (it.depth() > 8)
            it.disable_recursion_pending();
        const std::filesystem::path &file = it->path();
        if (file.extension() != ".mode" || !it->is_regular_file(error))
            continue;
        const std::string stem = file.stem().string();
        const size_t dash = stem.find('-');
        if (dash == std::string::npos)
            continue;
        const std::string_view source = std::string_view(stem).substr(0, dash);
        const std::string_view target = std::string_view(stem).substr(dash + 1);
        if (isModeCode(source) && isModeCode(target) && sameCode(source, from) &&
            sameCode(target, to))
            return file;
    }
    return {};
}

} // namespace mirel::siteserver
