#include "sites/backends/BoundedHttp.h"
#include "sites/backends/Glossary.h"
#include "sites/server/DataFile.h"
#include "sites/server/SitesSettings.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

using namespace mirel::sites;

namespace {

std::filesystem::path writeFile(const QTemporaryDir &dir, const char *name, const std::string &text)
{
    const std::filesystem::path path = dir.filePath(QString::fromLatin1(name)).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string errorOf(const std::function<void()> &read)
{
    try {
        read();
    } catch (const DataFileError &e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(SitesSettings, TheUsersFileOverridesTheSystemsAndMissingFilesAreNone)
{
    const QTemporaryDir dir;
    const auto system =
        writeFile(dir, "system.conf",
                  "\xEF\xBB\xBF# comment\r\nupstream = http://a:5000\napertium = off\n\n");
    const auto user = writeFile(dir, "user.conf", "upstream=http://b:5000\napi-key = k 1\n");
    SitesSettings settings = readSettingsFile(system);
    settings.apply(readSettingsFile(user));
    settings.apply(readSettingsFile(dir.filePath(QStringLiteral("none.conf")).toStdString()));
    EXPECT_EQ(settings.get("upstream"), "http://b:5000");
    EXPECT_EQ(settings.get("apertium"), "off");
    EXPECT_EQ(settings.get("api-key"), "k 1");
}

TEST(DataFiles, AFaultNamesTheFileAndLine)
{
    const QTemporaryDir dir;
    const auto settings = writeFile(dir, "bad.conf", "upstream = x\nport = 1\n");
    EXPECT_EQ(errorOf([&] { readSettingsFile(settings); }),
              settings.string() + ":2: unknown setting port");
    writeFile(dir, "glossary.tsv", "# zh en ja\n你好\thello\n");
    writeFile(dir, "traditional.tsv", "");
    EXPECT_EQ(errorOf([&] { readGlossaryRows(dir.path().toStdString()); }),
              dir.filePath(QStringLiteral("glossary.tsv")).toStdString() +
                  ":2: a row has three tab-separated columns");
    writeFile(dir, "glossary.tsv", "\xff\xfe\n");
    EXPECT_EQ(errorOf([&] { readGlossaryRows(dir.path().toStdString()); }),
              dir.filePath(QStringLiteral("glossary.tsv")).toStdString() + ": is not UTF-8");
}

// Every settings example in README (its ```ini blocks), read as a settings file: no error,
// and every address in it usable as one.
TEST(SitesSettings, ReadmeExamplesWorkAsWritten)
{
    std::ifstream readme(std::filesystem::path(MIREL_SOURCE_DIR) / "README.md");
    ASSERT_TRUE(readme) << "README.md not found";
    std::vector<std::string> blocks;
    std::string line;
    bool inBlock = false;
    while (std::getline(readme, line)) {
        if (!inBlock && line.rfind("```ini", 0) == 0) {
            inBlock = true;
            blocks.emplace_back();
        } else if (inBlock && line.rfind("```", 0) == 0) {
            inBlock = false;
        } else if (inBlock) {
            blocks.back() += line + "\n";
        }
    }
    ASSERT_FALSE(blocks.empty());
    const QTemporaryDir dir;
    for (const std::string &block : blocks) {
        SCOPED_TRACE(block);
        SitesSettings settings;
        EXPECT_EQ(errorOf([&] { settings = readSettingsFile(writeFile(dir, "x.conf", block)); }),
                  "no error");
        EXPECT_FALSE(settings.values.empty());
        for (const auto &[name, value] : settings.values) {
            const bool address = name == "upstream" || (name == "apertium" && value != "off") ||
                                 (name.size() > 4 && name.substr(name.size() - 4) == "-url");
            if (address) {
                EXPECT_TRUE(parseServiceAddress(value)) << name << " = " << value;
            }
        }
    }
}
