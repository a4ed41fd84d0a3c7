#include "sites/Glossary.h"

#include "sites/DataFile.h"

namespace mirel::sites {
namespace {

std::vector<std::string> columns(const std::string &line)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return parts;
        start = tab + 1;
    }
}

} // namespace

GlossaryRows readGlossaryRows(const std::filesystem::path &folder)
{
    GlossaryRows rows;
    const std::filesystem::path glossary = folder / "glossary.tsv";
    for (const DataLine &line : readDataLines(glossary)) {
        std::vector<std::string> cells = columns(line.text);
        if (cells.size() != 3)
            throwDataError(glossary, line.number, "a row has three tab-separated columns");
        rows.entries.push_back({std::move(cells[0]), std::move(cells[1]), std::move(cells[2])});
    }
    const std::filesystem::path traditional = folder / "traditional.tsv";
    for (const DataLine &line : readDataLines(traditional)) {
        std::vector<std::string> cells = columns(line.text);
        if (cells.size() != 2)
            throwDataError(traditional, line.number, "a row has two tab-separated columns");
        rows.traditional.push_back({std::move(cells[0]), std::move(cells[1])});
    }
    return rows;
}

} // namespace mirel::sites
