#include "sites/core/DataFile.h"

#include "sites/core/ValidUtf8.h"

#include <fstream>
#include <sstream>

namespace mirel::siteserver {

std::vector<std::string_view> splitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

void throwDataError(const std::filesystem::path &file, int line, const std::string &what)
{
    std::string message = file.string();
    if (line > 0)
        message.append(":").append(std::to_string(line));
    throw DataFileError(message + ": " + what);
}

std::vector<DataLine> readDataLines(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throwDataError(file, 0, "cannot be read");
    std::ostringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    if (!isValidUtf8(text))
        throwDataError(file, 0, "is not UTF-8");

    std::vector<DataLine> lines;
    // A byte-order mark, as some editors save one, is not part of the first line.
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    std::istringstream stream(text.compare(0, bom.size(), bom) == 0 ? text.substr(bom.size())
                                                                    : text);
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        lines.push_back({number, line});
    }
    return lines;
}

std::filesystem::path dataFolder(const std::string &given, const std::filesystem::path &program)
{
    if (!given.empty())
        return given;
    const std::filesystem::path installed =
        program.parent_path().parent_path() / "share" / "mirel" / "sites";
    std::error_code error;
    if (std::filesystem::exists(installed / "glossary.tsv", error))
        return installed;
    return MIREL_SITES_SOURCE_DATA;
}

} // namespace mirel::siteserver
