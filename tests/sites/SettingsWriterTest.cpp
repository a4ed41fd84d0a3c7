// The settings page writes the user's settings file: whole lines, kept comments, 0600.
#include "sites/setup/SettingsWriter.h"
#include "sites/setup/SitesSettings.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

using namespace mirel::siteserver;

TEST(SettingsWriter, RewritesInPlaceAndKeepsEverythingElse)
{
    const std::string before = "\xEF\xBB\xBF"
                               "baidu-key = old # mine\r\n"
                               "# keys below\n"
                               "someday = later\n"
                               "upstream = http://a:5000\n"
                               "baidu-key = older\n"
                               "\n"
                               "deepl-key = gone";
    const SettingChanges changes{{"baidu-key", "new"},
                                 {"upstream", std::nullopt},
                                 {"deepl-key", std::nullopt},
                                 {"openai-model", "qwen # 7b"},
                                 {"order", " deepl\\\"x"}};
    EXPECT_EQ(rewriteSettings(before, changes), "\xEF\xBB\xBF"
                                                "baidu-key = new\r\n"
                                                "# keys below\n"
                                                "someday = later\n"
                                                "\n"
                                                "openai-model = \"qwen # 7b\"\n"
                                                "order = \" deepl\\\\\\\"x\"\n");
    EXPECT_EQ(rewriteSettings("", {{"api-key", ""}}), "api-key = \"\"\n");
    // What is written reads back as the value given.
    for (const std::string value : {"qwen # 7b", " deepl\\\"x", "", "a\\b", "\"q\""})
        EXPECT_EQ(parseSettingLine(settingLine("openai-key", value)).value, value) << value;
}

TEST(SettingsWriter, AValueIsOneBoundedLine)
{
    struct Row
    {
        std::string name;
        std::string value;
        bool fits;
    };
    const Row rows[] = {
        {"baidu-key", "abc", true},
        {"baidu-key", "a\nupstream = http://evil:1", false},
        {"baidu-key", "a\rb", false},
        {"baidu-key", std::string("a\0b", 3), false},
        {"baidu-key", std::string(MaxSettingValue, 'k'), true},
        {"baidu-key", std::string(MaxSettingValue + 1, 'k'), false},
        {"port", "1", false},
    };
    for (const Row &row : rows) {
        const std::string problem = settingValueProblem(row.name, row.value);
        EXPECT_EQ(problem.empty(), row.fits) << row.name << " " << problem;
        EXPECT_EQ(problem.find("upstream"), std::string::npos); // never the value itself
    }
}

TEST(SettingsWriter, ReplacesTheFileWholeWithMode0600)
{
    const QTemporaryDir dir;
    const std::filesystem::path file =
        std::filesystem::path(dir.path().toStdString()) / "mirel" / "sites.conf";
    replaceSettingsFile(file, "baidu-key = k1\n"); // its folder is made
    EXPECT_EQ(std::filesystem::status(file.parent_path()).permissions(),
              std::filesystem::perms::owner_all);
    std::filesystem::permissions(file, std::filesystem::perms(0644));
    struct stat before
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    replaceSettingsFile(file, "baidu-key = k2\n");
    struct stat after
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 0777, 0600u);
    EXPECT_NE(after.st_ino, before.st_ino); // a new file renamed over it, never rewritten
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str(), "baidu-key = k2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
    // A folder that cannot be written: the file stays as it was.
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms(0500));
    if (::access(file.parent_path().c_str(), W_OK) != 0) { // not as root
        EXPECT_THROW(replaceSettingsFile(file, "baidu-key = k3\n"), std::runtime_error);
        std::ostringstream kept;
        kept << std::ifstream(file).rdbuf();
        EXPECT_EQ(kept.str(), "baidu-key = k2\n");
    }
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms(0700));
}
