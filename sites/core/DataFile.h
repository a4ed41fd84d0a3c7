#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// A data file the server cannot use: its path, the line and what is wrong.
class DataFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct DataLine
{
    int number = 0; // 1-based
    std::string text;
};

// The lines of a UTF-8 text file that carry data: no comment lines ("#" first), no
// blank lines, line ends (LF or CR LF) removed. Throws DataFileError when the file
// cannot be read or is not UTF-8.
std::vector<DataLine> readDataLines(const std::filesystem::path &file);

// The parts of a text between separators, empty ones included ("a||b" gives a, "", b).
std::vector<std::string_view> splitAt(std::string_view text, char separator);

// "path:line: what"
[[noreturn]] void throwDataError(const std::filesystem::path &file, int line,
                                 const std::string &what);

// The folder of the server's data files: the given one, else the one installed beside
// the program (<prefix>/share/mirel/sites), else the source tree's.
std::filesystem::path dataFolder(const std::string &given, const std::filesystem::path &program);

} // namespace mirel::siteserver
