#include "sites/pages/StatusPage.h"

#include "sites/apertium/ApertiumBackend.h"
#include "sites/core/HtmlText.h"
#include "sites/setup/ServiceOrder.h"
#include "sites/setup/SitesSettings.h"
#include "translation/LanguageTables.h"

#include <QString>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <map>
#include <set>

namespace mirel::siteserver {
namespace {

std::string utf8(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size())).toStdString();
}

struct EngineForm
{
    int index;     // in the window's engine table
    Engine engine; // the form it posts to
};

constexpr std::array<EngineForm, 4> kForms = {{{engGoogle, Engine::Google},
                                               {engBaidu, Engine::Relay},
                                               {engNetease, Engine::Youdao},
                                               {engYahoo, Engine::Yahoo}}};

// The pair a form posts for two of its languages' codes, as the server reads it.
std::optional<LanguagePair> formPair(Engine engine, std::string_view from, std::string_view to)
{
    const std::string a(from), b(to);
    switch (engine) {
    case Engine::Google: {
        const auto source = googleLanguage(a), target = googleLanguage(b);
        if (!source || !target)
            return std::nullopt;
        return LanguagePair{*source, *target};
    }
    case Engine::Relay:
        return relayLanguages(a + b);
    case Engine::Youdao:
        return youdaoLanguages(a + "2" + b);
    case Engine::Yahoo:
        return yahooLanguages(a + "_" + b);
    }
    return std::nullopt;
}

// Groups of targets by what answers them; "" for none, "…" for a service not ready.
constexpr const char *NoService = "";
constexpr const char *Pending = "…";

void appendEngine(std::string &page, const TranslationGateway &gateway, const EngineForm &form)
{
    const auto table = languageTable(form.index);
    std::string rows;
    bool unserved = false;
    for (const LanguageRow &source : table) {
        std::vector<std::pair<std::string, std::vector<std::string>>> groups;
        for (const LanguageRow &target : table) {
            if (target.code == source.code)
                continue;
            const auto pair = formPair(form.engine, source.code, target.code);
            if (!pair)
                continue;
            const auto route = gateway.route(*pair, form.engine);
            std::string by = NoService;
            if (!route.empty())
                by = route.front()->name();
            else if (std::any_of(
                         gateway.backends().begin(), gateway.backends().end(),
                         [&](const auto &b) { return b->offers(*pair) == Offer::NotKnownYet; }))
                by = Pending;
            if (by == NoService) {
                unserved = true;
                continue;
            }
            auto group = std::find_if(groups.begin(), groups.end(),
                                      [&](const auto &g) { return g.first == by; });
            if (group == groups.end())
                group = groups.insert(groups.end(), {by, {}});
            group->second.push_back(utf8(target.name));
        }
        if (groups.empty())
            continue;
        rows += "<tr><td>" + utf8(source.name) + " →</td><td>";
        for (size_t g = 0; g < groups.size(); ++g) {
            rows += g ? "<br>" : "";
            rows += "<b>" + escapeAttribute(serviceTitle(groups[g].first)) + "</b>：";
            for (size_t t = 0; t < groups[g].second.size(); ++t)
                rows += (t ? "、" : "") + groups[g].second[t];
        }
        rows += "</td></tr>\n";
    }
    page += "<h3>" + utf8(EngineNames[size_t(form.index)]) + "</h3>\n";
    if (rows.empty()) {
        page += "<p>暂无可用的翻译服务。</p>\n";
        return;
    }
    page += "<table>\n" + rows + "</table>\n";
    if (unserved)
        page += "<p class=\"n\">其余语言对暂无服务。</p>\n";
}

std::string reachText(Reach reach)
{
    switch (reach) {
    case Reach::Known:
        return "可用";
    case Reach::NotYet:
        return "尚未连接上，稍后自动重试";
    case Reach::Refused:
        return "拒绝了密钥（请检查设置中的密钥）";
    case Reach::Exhausted:
        return "额度用完（额度恢复前由其他服务翻译）";
    }
    return {};
}

// Where the service runs and what it needs: "在线，免密钥", "本机" …
std::string whereText(const TranslationBackend &backend)
{
    if (!backend.online())
        return "本机";
    const std::string name = backend.name();
    if (isKeyless(name))
        return "在线，免密钥";
    if (name == "upstream" || name == "openai")
        return "在线，按你的设置";
    return "在线，用你的密钥";
}

// The wall clock's HH:MM at a time of the server's clock.
std::string clockTime(Clock::time_point at)
{
    const auto wall =
        std::chrono::system_clock::now() +
        std::chrono::duration_cast<std::chrono::system_clock::duration>(at - Clock::now());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(wall);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

std::string stateText(const TranslationBackend &backend, const std::optional<ServiceSkip> &skip)
{
    if (skip && skip->probing && backend.reach() != Reach::Refused)
        return "正在重新尝试（上次失败：" + escapeAttribute(skip->reason) + "）";
    if (skip && backend.reach() == Reach::Exhausted)
        return reachText(Reach::Exhausted) + "，" + clockTime(skip->until) + " 后再试";
    if (skip && backend.reach() != Reach::Refused)
        return "暂不使用，" + clockTime(skip->until) + " 后再试（上次失败：" +
               escapeAttribute(skip->reason) + "）";
    return reachText(backend.reach());
}

// APy's pairs that no language pair of the window reaches.
void appendApertiumLeftOver(std::string &page, const TranslationGateway &gateway)
{
    const auto *apertium = dynamic_cast<const ApertiumBackend *>(gateway.find("apertium"));
    if (!apertium)
        return;
    std::set<std::string> reached;
    for (const LanguageRow &source : GoogleLanguages)
        for (const LanguageRow &target : GoogleLanguages)
            if (const auto langpair =
                    apertium->langpair({std::string(source.code), std::string(target.code)}))
                reached.insert(*langpair);
    std::string list;
    if (const auto pairs = apertium->listedPairs())
        for (const auto &[from, to] : *pairs)
            if (!reached.count(from + "|" + to))
                list +=
                    (list.empty() ? "" : "、") + escapeAttribute(from) + "→" + escapeAttribute(to);
    if (!list.empty())
        page += "<p class=\"n\">Apertium 另有窗口中无法选择的语言对：" + list + "</p>\n";
    std::string broken;
    for (const std::string &pair : apertium->brokenPairs()) {
        const std::string name = pair.substr(0, pair.find(':'));
        broken += (broken.empty() ? "" : "、") + escapeAttribute(name.substr(0, name.find('|'))) +
                  "→" + escapeAttribute(name.substr(name.find('|') + 1));
    }
    if (!broken.empty())
        page += "<p class=\"n\">Apertium 试译失败、不提供的语言对：" + broken + "</p>\n";
}

bool translationServiceSetUp(const TranslationGateway &gateway)
{
    return std::any_of(gateway.backends().begin(), gateway.backends().end(), [](const auto &b) {
        const std::string name = b->name();
        return name != "opencc" && name != "apertium" && name != "glossary";
    });
}

} // namespace

std::string serviceTitle(std::string_view name)
{
    static const std::map<std::string_view, std::string_view> titles{
        {"opencc", "OpenCC 简繁转换"},
        {"baidu", "百度翻译"},
        {"youdao", "有道智云"},
        {"deepl", "DeepL"},
        {"google", "Google 云翻译"},
        {"google-web", "Google 网页翻译"},
        {"edge", "Microsoft Edge 翻译"},
        {"volcengine-web", "火山翻译"},
        {"openai", "大模型（OpenAI 兼容）"},
        {"upstream", "LibreTranslate"},
        {"apertium", "Apertium"},
        {"glossary", "内置词汇表（逐词）"},
        {Pending, "服务连接中"},
    };
    const auto it = titles.find(name);
    return std::string(it == titles.end() ? name : it->second);
}

std::string statusSection(const TranslationGateway &gateway,
                          const std::vector<std::pair<std::string, std::string>> &leftOut)
{
    std::string page = "<h2>现在谁来翻译</h2>\n";
    if (!translationServiceSetUp(gateway)) {
        const std::string file = settingsFiles().back().string();
        page += "<p class=\"hint\">尚未设置翻译服务，中文与英语、日语之间只能逐词翻译。在 " +
                escapeAttribute(file) +
                "（没有就新建）中加入 <code>baidu-app-id = …</code> 与 <code>baidu-key = …</code>"
                "（或有道、DeepL、Google、OpenAI 兼容接口的设置，见 README），"
                "然后重新启动。</p>\n";
    }
    for (const EngineForm &form : kForms)
        appendEngine(page, gateway, form);

    page += "<h2>翻译服务</h2>\n";
    std::string online;
    for (const auto &backend : gateway.backends())
        if (backend->online())
            online += (online.empty() ? "" : "、") + escapeAttribute(serviceTitle(backend->name()));
    page += online.empty() ? "<p>在线翻译服务未开启：要翻译的文字只在本机处理，不发送到网上。</p>\n"
                           : "<p>在线翻译服务已开启：要翻译的文字会发送给下列在线服务：" + online +
                                 "。设置 <code>online = off</code> 则只在本机翻译。</p>\n";
    page += "<ul>\n";
    for (const auto &backend : gateway.backends())
        page += "<li>" + escapeAttribute(serviceTitle(backend->name())) + "（" +
                whereText(*backend) + "）：" + stateText(*backend, gateway.skip(backend->name())) +
                "</li>\n";
    for (const auto &[name, why] : leftOut)
        page += "<li>" + escapeAttribute(serviceTitle(name)) + "：未能启用（原因见日志）</li>\n";
    page += "</ul>\n";
    appendApertiumLeftOver(page, gateway);
    return page;
}

} // namespace mirel::siteserver
