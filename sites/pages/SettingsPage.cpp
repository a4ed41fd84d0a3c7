#include "sites/pages/SettingsPage.h"

#include "sites/core/HtmlText.h"
#include "sites/pages/StatusPage.h"

#include <algorithm>

namespace mirel::siteserver {
namespace {

// Settings whose name does not begin with their service's.
std::string groupOf(std::string_view setting)
{
    if (setting == "api-key")
        return "upstream";
    return std::string(setting.substr(0, setting.find('-')));
}

// Where a service's key is got and what it gives for free.
struct ServiceNote
{
    std::string_view service;
    std::string_view console;
    std::string_view free;
};

constexpr ServiceNote Notes[] = {
    {"baidu", "https://fanyi-api.baidu.com/manage/developer",
     "通用文本翻译标准版每月 5 万字符免费，个人认证后高级版每月 100 万字符免费。"},
    {"youdao", "https://ai.youdao.com/console/", "新用户注册赠送体验金，用完后按字符计费。"},
    {"google", "https://console.cloud.google.com/apis/credentials",
     "Cloud Translation 基础版每月前 50 万字符免费（需绑定结算账号）。"},
    {"deepl", "https://www.deepl.com/your-account/keys",
     "DeepL API Free 每月 50 万字符免费（密钥以 :fx 结尾）。"},
    {"openai", "https://platform.openai.com/api-keys",
     "按用量计费，没有免费额度；兼容的本地模型（如 Ollama）不需要密钥。"},
    {"upstream", "https://portal.libretranslate.com/",
     "自建的 LibreTranslate 免费且不需要密钥；libretranslate.com 需付费密钥。"},
};

// The general settings' titles; a setting without one shows its name.
std::string generalTitle(std::string_view group)
{
    if (group == "order")
        return "服务顺序（依次询问，逗号分隔）";
    if (group == "online")
        return "在线服务（off：全部停用）";
    if (group == "apertium")
        return "Apertium（本机离线翻译）";
    return std::string(group);
}

const ServiceNote *noteOf(std::string_view service)
{
    const auto found =
        std::find_if(std::begin(Notes), std::end(Notes),
                     [&](const ServiceNote &note) { return note.service == service; });
    return found == std::end(Notes) ? nullptr : found;
}

std::string head(std::string_view title)
{
    std::string head = "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width\"><title>";
    head += escapeHtml(title);
    head +=
        "</title>\n<style>\n"
        "body{margin:8px;max-width:600px;font:13px/1.5 sans-serif;color:#222}\n"
        "h1{font-size:17px;margin:0 0 4px}h2{font-size:15px;margin:14px 0 2px}\n"
        "p{margin:4px 0}.n{color:#666;font-size:12px}.hint{background:#fff6d5;padding:4px 6px}\n"
        "form{border-top:1px solid #ddd;padding-top:4px}\n"
        "label{display:block;margin:6px 0 0}\n"
        "input[type=text],input[type=password]{box-sizing:border-box;width:100%;"
        "font-size:13px}\n"
        "button{margin:8px 8px 0 0;font-size:13px}code{font-size:12px;word-break:break-all}\n"
        "</style></head>\n<body>\n";
    return head;
}

std::string field(const SettingInfo &info, const SitesSettings &inForce)
{
    const std::string name(info.name);
    const std::string value = inForce.value(info.name);
    std::string html = "<label>" + escapeHtml(name) + " <span class=\"n\">" +
                       escapeHtml(info.help) + "</span>\n<input name=\"" + escapeAttribute(name) +
                       "\" autocomplete=\"off\" ";
    if (info.secret)
        html += "type=\"password\" value=\"\" placeholder=\"" +
                escapeAttribute(value.empty() ? std::string("未设置")
                                              : secretShown(value) + "，留空则不变") +
                "\">";
    else
        html += "type=\"text\" value=\"" + escapeAttribute(value) + "\">";
    return html + "</label>\n";
}

std::string groupForm(const SettingsGroup &group, const SettingsView &view)
{
    const bool service = group.service();
    std::string html = "<h2 id=\"" + escapeAttribute(group.name) + "\">" +
                       escapeHtml(service ? serviceTitle(group.name) : generalTitle(group.name)) +
                       "</h2>\n";
    if (const ServiceNote *note = noteOf(group.name))
        html += "<p class=\"n\">密钥：<code>" + escapeHtml(note->console) + "</code><br>" +
                escapeHtml(note->free) + "</p>\n";
    if (group.name == "apertium") // the running APy is kept while the server runs
        html += "<p class=\"n\">Apertium 的设置在下次启动 Mirel 时生效。</p>\n";
    if (view.noticeFor == group.name && !view.notice.empty())
        html += "<p class=\"hint\">" + escapeHtml(view.notice) + "</p>\n";
    html += "<form method=\"post\" action=\"/settings\">\n"
            "<input type=\"hidden\" name=\"token\" value=\"" +
            escapeAttribute(view.token) + "\">\n<input type=\"hidden\" name=\"group\" value=\"" +
            escapeAttribute(group.name) + "\">\n";
    for (const SettingInfo *info : group.settings)
        html += field(*info, view.inForce);
    if (service)
        html += "<label><input type=\"checkbox\" name=\"forget\" value=\"1\"> "
                "停用：删除此服务的全部设置</label>\n"
                "<button type=\"submit\" formaction=\"/settings/try\" formtarget=\"_blank\">"
                "试一试</button>";
    return html + "<button type=\"submit\">保存</button>\n</form>\n";
}

} // namespace

bool SettingsGroup::service() const
{
    return std::any_of(settings.begin(), settings.end(),
                       [](const SettingInfo *info) { return info->secret; });
}

std::vector<SettingsGroup> settingsGroups()
{
    std::vector<SettingsGroup> groups;
    for (const SettingInfo &info : knownSettings()) {
        const std::string name = groupOf(info.name);
        auto found = std::find_if(groups.begin(), groups.end(),
                                  [&](const SettingsGroup &group) { return group.name == name; });
        if (found == groups.end())
            found = groups.insert(groups.end(), SettingsGroup{name, {}});
        found->settings.push_back(&info);
    }
    return groups;
}

const SettingsGroup *findGroup(const std::vector<SettingsGroup> &groups, std::string_view name)
{
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&](const SettingsGroup &group) { return group.name == name; });
    return found == groups.end() ? nullptr : &*found;
}

std::string secretShown(std::string_view secret)
{
    // Of a short secret, four characters would give too much away.
    if (secret.size() < 12)
        return "已设置";
    return "已设置（…" + std::string(secret.substr(secret.size() - 4)) + "）";
}

std::string settingsPage(const SettingsView &view)
{
    std::string page = head("Mirel - 翻译服务设置");
    page += "<h1>翻译服务设置</h1>\n<p>填入密钥后可先点“试一试”（在新标签页中翻译“你好，世界。”），"
            "再点“保存”：立即生效，无需重启。已保存的密钥不再显示。</p>\n";
    if (view.file.empty())
        page += "<p class=\"hint\">没有可写的用户设置文件（以 --no-settings 启动，或未设 "
                "HOME），无法保存。</p>\n";
    else
        page += "<p class=\"n\">保存到 <code>" + escapeHtml(view.file) + "</code></p>\n";
    if (view.noticeFor.empty() && !view.notice.empty())
        page += "<p class=\"hint\">" + escapeHtml(view.notice) + "</p>\n";
    const std::vector<SettingsGroup> groups = settingsGroups();
    page += "<h2>通用</h2>\n";
    for (const SettingsGroup &group : groups)
        if (!group.service())
            page += groupForm(group, view);
    for (const SettingsGroup &group : groups)
        if (group.service())
            page += groupForm(group, view);
    page += "<p><a href=\"/201072928.html\">返回首页</a></p>\n</body></html>\n";
    return page;
}

std::string trialPage(std::string_view service, bool translated, std::string_view text)
{
    std::string page = head("Mirel - 试一试");
    page += "<h1>试一试：" + escapeHtml(serviceTitle(service)) +
            "</h1>\n<p>中文 → 英语：你好，世界。</p>\n";
    page += translated ? "<p>译文：<b>" + escapeHtml(text) + "</b></p>\n"
                       : "<p class=\"hint\">失败：" + escapeHtml(text) + "</p>\n";
    page += "<p class=\"n\">试用的设置尚未保存：关闭此页，在设置页点“保存”。</p>\n</body></html>\n";
    return page;
}

} // namespace mirel::siteserver
