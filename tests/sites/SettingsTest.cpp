#include "sites/core/DataFile.h"
#include "sites/http/BoundedHttp.h"
#include "sites/local/GlossaryRows.h"
#include "sites/setup/CommandLine.h"
#include "sites/setup/SettingsFileCheck.h"
#include "sites/setup/SitesSettings.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

using namespace mirel::siteserver;

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

TEST(SitesSettings, AKeyInAFileOthersCanReadIsWarnedAboutWithoutItsValue)
{
    const QTemporaryDir dir;
    struct Row
    {
        const char *text;
        std::filesystem::perms mode;
        bool warned;
    };
    using P = std::filesystem::perms;
    const Row rows[] = {
        {"baidu-app-id = 2015\nbaidu-key = s3cr3t-v4lue\n",
         P::owner_read | P::owner_write | P::group_read | P::others_read, true},
        {"deepl-key = s3cr3t-v4lue:fx\n", P::owner_read | P::group_read, true},
        {"deepl-key = s3cr3t-v4lue:fx\n", P::owner_read | P::owner_write, false},
        {"upstream = http://127.0.0.1:5000\n", P::owner_read | P::others_read, false},
    };
    for (const Row &row : rows) {
        const auto file = writeFile(dir, "sites.conf", row.text);
        std::filesystem::permissions(file, row.mode);
        const std::string warning = secretFileWarning(file, readSettingsFile(file));
        SCOPED_TRACE(row.text);
        EXPECT_EQ(!warning.empty(), row.warned) << warning;
        EXPECT_EQ(warning.find("s3cr3t"), std::string::npos);
        if (row.warned) {
            EXPECT_NE(warning.find(file.string() + " holds "), std::string::npos) << warning;
            EXPECT_NE(warning.find("chmod 600 " + file.string()), std::string::npos) << warning;
        }
    }
}

TEST(CommandLine, SettingsAreOptionsButKeysComeFromFiles)
{
    const std::filesystem::path conf = "/home/u/.config/mirel/sites.conf";
    using Args = std::vector<std::string>;
    const auto given = [](const CommandLine &line) {
        std::string text;
        for (const auto &[name, value] : line.given.values)
            text += name + "=" + value + ";";
        for (const auto &[name, file] : line.secretFiles)
            text += name + "<" + file.string() + ";";
        return text;
    };
    struct Row
    {
        Args args;
        std::string settings; // what is given, or "wrong", or the refusal
    };
    const Row rows[] = {
        {{"8765", "--apertium", "off", "--deepl-url", "http://x/v2/translate", "--quiet"},
         "apertium=off;deepl-url=http://x/v2/translate;"},
        {{"0", "--deepl-key-file", "/run/k", "--api-key-file", "k2"},
         "deepl-key</run/k;api-key<k2;"},
        {{"8765", "--deepl-key", "s3cr3t:fx"},
         "--deepl-key on the command line would show the key to every user (ps); put "
         "\"deepl-key = ...\" in /home/u/.config/mirel/sites.conf (chmod 600), or give "
         "--deepl-key-file FILE with the key in FILE"},
        {{"8765", "--apertium", "off", "--api-key"},
         "--api-key on the command line would show the key to every user (ps); put \"api-key = "
         "...\" in /home/u/.config/mirel/sites.conf (chmod 600), or give --api-key-file FILE "
         "with the key in FILE"},
        {{"8765", "--deepl-url-file", "/run/k"}, "wrong"},
        {{"8765", "--deepl-key-file"}, "wrong"},
        {{"8765", "--apertium"}, "wrong"},
        {{"87x"}, "wrong"},
        {{"65536"}, "wrong"},
        {{}, "wrong"},
    };
    for (const Row &row : rows) {
        const CommandLine line = parseCommandLine(row.args, conf);
        SCOPED_TRACE(row.settings);
        const std::string got =
            line.wrong ? "wrong" : (line.refusal.empty() ? given(line) : line.refusal);
        EXPECT_EQ(got, row.settings);
        EXPECT_EQ(line.refusal.find("s3cr3t"), std::string::npos);
    }
    const CommandLine line =
        parseCommandLine({"0", "--no-settings", "--busy", "--data", "d"}, conf);
    EXPECT_TRUE(!line.readSettings && line.relayBusy && line.data == "d" && !line.wrong);
    EXPECT_TRUE(parseCommandLine({"8765", "--deepl-key", "k", "--help"}, conf).help);
}

TEST(CommandLine, AKeyFileHoldsTheKeyOnOneLine)
{
    const QTemporaryDir dir;
    struct Row
    {
        const char *text;
        const char *key; // or the error after "file: "
    };
    const Row rows[] = {
        {"s3cr3t:fx\n", "s3cr3t:fx"},
        {"  s3cr3t key \r\n\n", "s3cr3t key"},
        {"s3cr3t", "s3cr3t"},
        {"\n \n", "is empty; it should hold the key on one line"},
        {"s3cr3t\nother\n", "holds more than one line; it should hold the key alone"},
    };
    for (const Row &row : rows) {
        const auto file = writeFile(dir, "key", row.text);
        std::string got;
        try {
            got = readSecretFile(file);
        } catch (const DataFileError &e) {
            got = e.what();
            EXPECT_EQ(got.rfind(file.string() + ": ", 0), 0u);
            got = got.substr(file.string().size() + 2);
        }
        EXPECT_EQ(got, row.key) << row.text;
    }
    EXPECT_EQ(errorOf([&] { readSecretFile(dir.filePath(QStringLiteral("none")).toStdString()); }),
              dir.filePath(QStringLiteral("none")).toStdString() + ": cannot be read");
}
