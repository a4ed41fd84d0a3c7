#include "sites/local/GlossaryRows.h"

#include "sites/core/DataFile.h"

namespace mirel::siteserver {

GlossaryRows readGlossaryRows(const std::filesystem::path &folder)
{
    GlossaryRows rows;
    const std::filesystem::path glossary = folder / "glossary.tsv";
    for (const DataLine &line : readDataLines(glossary)) {
        const std::vector<std::string_view> cells = splitAt(line.text, '\t');
        if (cells.size() != 3)
            throwDataError(glossary, line.number, "a row has three tab-separated columns");
        rows.entries.push_back(
            {std::string(cells[0]), std::string(cells[1]), std::string(cells[2])});
    }
    return rows;
}

} // namespace mirel::siteserver
