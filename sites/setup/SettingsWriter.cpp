#include "sites/setup/SettingsWriter.h"

#include "sites/setup/SitesSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <stdexcept>

namespace mirel::siteserver {
namespace {

bool needsQuotes(std::string_view value)
{
    return value.empty() || value.front() == '"' || value.front() == ' ' || value.front() == '\t' ||
           value.back() == ' ' || value.back() == '\t' || value.find('#') != std::string_view::npos;
}

const SettingChanges::value_type *changeOf(const SettingChanges &changes, std::string_view name)
{
    const auto found = std::find_if(changes.begin(), changes.end(),
                                    [&](const auto &change) { return change.first == name; });
    return found == changes.end() ? nullptr : &*found;
}

[[noreturn]] void fail(const std::filesystem::path &file, const char *what)
{
    throw std::runtime_error("cannot write " + file.string() + ": " + what + ": " +
                             std::strerror(errno));
}

} // namespace

std::string settingValueProblem(std::string_view name, std::string_view value)
{
    if (!findSetting(name))
        return "unknown setting " + std::string(name);
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return std::string(name) + ": a value is one line, without line breaks or NUL";
    if (value.size() > MaxSettingValue)
        return std::string(name) + ": over " + std::to_string(MaxSettingValue) + " bytes";
    return {};
}

std::string settingLine(std::string_view name, std::string_view value)
{
    std::string line = std::string(name) + " = ";
    if (!needsQuotes(value))
        return line.append(value);
    line += '"';
    for (const char c : value) {
        if (c == '"' || c == '\\')
            line += '\\';
        line += c;
    }
    return line += '"';
}

std::string rewriteSettings(std::string_view text, const SettingChanges &changes)
{
    std::string out;
    std::set<std::string, std::less<>> written;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view whole = text.substr(start, end - start);
        start = end + 1;
        const bool newline = end < text.size();
        std::string_view line = whole;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string_view parsed = line;
        if (first && parsed.substr(0, 3) == "\xEF\xBB\xBF")
            parsed.remove_prefix(3);
        first = false;
        const SettingLine setting = parseSettingLine(parsed);
        const auto *change = setting.error.empty() ? changeOf(changes, setting.name) : nullptr;
        if (!change) {
            out.append(whole);
        } else if (change->second && written.insert(change->first).second) {
            out.append(line.substr(0, line.size() - parsed.size())); // a byte-order mark
            out += settingLine(change->first, *change->second);
            out.append(whole.substr(line.size()));
        } else {
            continue; // removed, or a later line of a setting already written
        }
        if (newline)
            out += '\n';
    }
    for (const auto &[name, value] : changes)
        if (value && written.count(name) == 0) {
            if (!out.empty() && out.back() != '\n')
                out += '\n';
            out += settingLine(name, *value) + "\n";
        }
    return out;
}

void replaceSettingsFile(const std::filesystem::path &file, std::string_view text)
{
    const std::filesystem::path folder = file.parent_path();
    if (!folder.empty()) {
        std::error_code error;
        if (std::filesystem::create_directories(folder, error))
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
        if (error)
            throw std::runtime_error("cannot write " + file.string() + ": " + error.message());
    }
    std::string temporary = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        fail(file, "a temporary file");
    const auto discard = [&](const char *what) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        errno = saved;
        fail(file, what);
    };
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            discard("writing");
        done += size_t(n);
    }
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
        discard("chmod");
    if (::fsync(fd) != 0)
        discard("fsync");
    if (::close(fd) != 0) {
        ::unlink(temporary.c_str());
        fail(file, "closing");
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        fail(file, "renaming");
    }
}

} // namespace mirel::siteserver
