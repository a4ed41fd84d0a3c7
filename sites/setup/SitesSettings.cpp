#include "sites/setup/SitesSettings.h"

#include "sites/core/DataFile.h"

#include <cstdlib>

namespace mirel::siteserver {
namespace {

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value without a trailing "# comment" (a "#" after a blank, outside quotes) and
// without its quotes; nothing for an unclosed quote.
std::optional<std::string> valueOf(std::string_view raw)
{
    raw = trimmed(raw);
    if (!raw.empty() && raw.front() == '"') {
        std::string value;
        size_t i = 1;
        for (; i < raw.size() && raw[i] != '"'; ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\'))
                ++i;
            value += raw[i];
        }
        if (i >= raw.size())
            return std::nullopt;
        const std::string_view rest = trimmed(raw.substr(i + 1));
        if (!rest.empty() && rest.front() != '#')
            return std::nullopt;
        return value;
    }
    for (size_t i = 0; i < raw.size(); ++i)
        if (raw[i] == '#' && (i == 0 || raw[i - 1] == ' ' || raw[i - 1] == '\t'))
            return std::string(trimmed(raw.substr(0, i)));
    return std::string(raw);
}

} // namespace

const std::vector<SettingInfo> &knownSettings()
{
    static const std::vector<SettingInfo> settings{
        {"apertium", "URL|off", "use the APy at URL instead of starting one; off: none"},
        {"apertium-memory", "MiB", "memory for APy and its pipelines (default 1024)"},
        {"online", "on|off",
         "off: every passage stays on this machine (OpenCC, Apertium, the glossary)"},
        {"order", "NAMES", "services in the order of preference, e.g. deepl, baidu, apertium"},
        {"baidu-app-id", "ID", "Baidu general text translation: app id"},
        {"baidu-key", "KEY", "Baidu: secret key", true},
        {"baidu-url", "URL", "Baidu: the translate endpoint (default: Baidu's own)"},
        {"baidu-tier", "TIER", "Baidu: standard (default) or advanced (10 requests a second)"},
        {"youdao-app-key", "KEY", "Youdao text translation: app key"},
        {"youdao-app-secret", "SECRET", "Youdao: app secret", true},
        {"youdao-url", "URL", "Youdao: the translate endpoint (default: Youdao's own)"},
        {"deepl-key", "KEY", "DeepL API: authentication key (\":fx\" at the end: free API)", true},
        {"deepl-url", "URL", "DeepL: the translate endpoint (default: by the key's plan)"},
        {"google-key", "KEY", "Google Cloud Translation (basic): API key", true},
        {"google-url", "URL", "Google Cloud: the translate endpoint (default: Google's own)"},
        {"tencent-secret-id", "ID", "Tencent Cloud Machine Translation: SecretId"},
        {"tencent-secret-key", "KEY", "Tencent Cloud: SecretKey", true},
        {"tencent-region", "REGION", "Tencent Cloud: the region (default ap-beijing)"},
        {"tencent-url", "URL", "Tencent Cloud: the API endpoint (default: Tencent's own)"},
        {"azure-key", "KEY", "Azure AI Translator: resource key", true},
        {"azure-region", "REGION", "Azure: the resource's region (none for a global resource)"},
        {"azure-url", "URL", "Azure: the Translator endpoint (default: the global one)"},
        {"volcengine-access-key", "KEY", "Volcengine machine translation: Access Key ID"},
        {"volcengine-secret-key", "KEY", "Volcengine: Secret Access Key", true},
        {"volcengine-url", "URL", "Volcengine: the API endpoint (default: Volcengine's own)"},
        {"niutrans-key", "KEY", "Niutrans text translation: API key", true},
        {"niutrans-url", "URL", "Niutrans: the translate endpoint (default: Niutrans's own)"},
        {"alibaba-access-key-id", "ID", "Alibaba Cloud Machine Translation: AccessKey ID"},
        {"alibaba-access-key-secret", "SECRET", "Alibaba Cloud: AccessKey secret", true},
        {"alibaba-url", "URL", "Alibaba Cloud: the API endpoint (default: cn-hangzhou)"},
        {"openai-url", "URL", "an OpenAI-compatible API, its base with /v1"},
        {"openai-model", "NAME", "the model to ask"},
        {"openai-key", "KEY", "its API key, if it wants one", true},
        {"google-web-url", "URL|off", "Google's keyless web endpoint (default: Google's own)"},
        {"edge-url", "URL|off", "Microsoft Edge's keyless translator (default: Microsoft's own)"},
        {"volcengine-web-url", "URL|off",
         "Volcengine's keyless browser-extension endpoint (default: Volcengine's own)"},
        {"openai-temperature", "0..2", "the sampling temperature (default: the model's own)"},
        {"openai-piece-bytes", "BYTES", "longest piece of a passage a request carries (1500)"},
        {"upstream", "URL", "a LibreTranslate-compatible service"},
        {"api-key", "KEY", "the upstream's api_key", true},
    };
    return settings;
}

const SettingInfo *findSetting(std::string_view name)
{
    for (const SettingInfo &info : knownSettings())
        if (info.name == name)
            return &info;
    return nullptr;
}

std::optional<std::string> SitesSettings::get(std::string_view name) const
{
    for (const auto &[n, v] : values)
        if (n == name)
            return v;
    return std::nullopt;
}

std::string SitesSettings::value(std::string_view name, std::string_view fallback) const
{
    return get(name).value_or(std::string(fallback));
}

void SitesSettings::set(std::string_view name, std::string value)
{
    for (auto &[n, v] : values)
        if (n == name) {
            v = std::move(value);
            return;
        }
    values.emplace_back(std::string(name), std::move(value));
}

void SitesSettings::apply(const SitesSettings &later)
{
    for (const auto &[name, value] : later.values)
        set(name, value);
}

SettingLine parseSettingLine(std::string_view line)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {{}, {}, "expected name = value"};
    SettingLine setting{std::string(trimmed(line.substr(0, equals))), {}, {}};
    if (setting.name.empty())
        return {{}, {}, "expected a setting's name before ="};
    if (!findSetting(setting.name))
        return {{}, {}, "unknown setting " + setting.name};
    const auto value = valueOf(line.substr(equals + 1));
    if (!value)
        return {{}, {}, "expected a value closed by \" (and at most a # comment after it)"};
    setting.value = *value;
    return setting;
}

SitesSettings readSettingsFile(const std::filesystem::path &file)
{
    SitesSettings settings;
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return settings;
    for (const DataLine &line : readDataLines(file)) {
        if (trimmed(line.text).empty() || trimmed(line.text).front() == '#')
            continue;
        SettingLine setting = parseSettingLine(line.text);
        if (!setting.error.empty())
            throwDataError(file, line.number, setting.error);
        settings.set(setting.name, std::move(setting.value));
    }
    return settings;
}

std::vector<std::filesystem::path> settingsFiles()
{
    std::vector<std::filesystem::path> files{"/etc/mirel/sites.conf"};
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        files.emplace_back(std::filesystem::path(config) / "mirel" / "sites.conf");
    else if (const char *home = std::getenv("HOME"); home && *home)
        files.emplace_back(std::filesystem::path(home) / ".config" / "mirel" / "sites.conf");
    return files;
}

} // namespace mirel::siteserver
