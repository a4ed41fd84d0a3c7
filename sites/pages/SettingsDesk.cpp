#include "sites/pages/SettingsDesk.h"

#include "sites/core/DataFile.h"
#include "sites/http/SafeReason.h"
#include "sites/pages/PageToken.h"
#include "sites/pages/SettingsPage.h"
#include "sites/setup/BackendAssembly.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mirel::siteserver {
namespace {

std::vector<std::string_view> secretsOf(const SitesSettings &settings)
{
    std::vector<std::string_view> secrets;
    for (const auto &[name, value] : settings.values)
        if (const SettingInfo *info = findSetting(name); info && info->secret && !value.empty())
            secrets.push_back(value);
    return secrets;
}

std::string readWhole(const std::filesystem::path &file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return {};
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf()))
        throw std::runtime_error("cannot read " + file.string());
    return text.str();
}

} // namespace

FormChanges changesOfForm(const std::vector<FormField> &form)
{
    FormChanges out;
    out.group = fieldValue(form, "group").value_or("");
    const std::vector<SettingsGroup> groups = settingsGroups();
    const SettingsGroup *group = findGroup(groups, out.group);
    if (!group) {
        out.problem = "没有这一组设置：" + out.group;
        return out;
    }
    const bool forget = group->service() && fieldValue(form, "forget") == "1";
    for (const SettingInfo *info : group->settings) {
        const std::string name(info->name);
        const auto value = fieldValue(form, name);
        if (forget) {
            out.changes.emplace_back(name, std::nullopt);
        } else if (!value || (value->empty() && info->secret)) {
            continue;
        } else if (const std::string problem = settingValueProblem(name, *value);
                   !problem.empty()) {
            out.problem = problem;
            out.changes.clear();
            return out;
        } else {
            out.changes.emplace_back(name, value->empty() ? std::nullopt : value);
        }
    }
    return out;
}

SitesSettings changed(SitesSettings settings, const SettingChanges &changes)
{
    for (const auto &[name, value] : changes)
        if (value)
            settings.set(name, *value);
        else
            std::erase_if(settings.values, [&](const auto &held) { return held.first == name; });
    return settings;
}

SettingsDesk::SettingsDesk(std::filesystem::path userFile, SiteOptions options, Prepare prepare)
    : m_token(freshToken()), m_file(std::move(userFile)), m_prepare(std::move(prepare)),
      m_options(std::move(options))
{
}

void setSettingsHeaders(httplib::Response &res)
{
    res.set_header("Content-Security-Policy", SettingsPagePolicy);
    res.set_header("X-Frame-Options", "DENY");
    res.set_header("Cache-Control", "no-store");
    res.set_header("Referrer-Policy", "same-origin");
}

void SettingsDesk::answer(httplib::Response &res, int status, std::string notice,
                          std::string group) const
{
    SettingsView view{m_token, m_file.string(), {}, std::move(notice), std::move(group)};
    {
        const std::lock_guard lock(m_mutex);
        view.inForce = m_options.services;
    }
    res.status = status;
    setSettingsHeaders(res);
    res.set_content(settingsPage(view), "text/html; charset=utf-8");
}

void SettingsDesk::page(httplib::Response &res) const
{
    answer(res, 200, {}, {});
}

void SettingsDesk::save(const std::vector<FormField> &form, httplib::Response &res)
{
    const FormChanges asked = changesOfForm(form);
    if (!asked.problem.empty())
        return answer(res, 400, "未保存：" + asked.problem, asked.group);
    if (m_file.empty())
        return answer(res, 409, "未保存：没有用户设置文件", asked.group);
    std::string problem;
    {
        const std::lock_guard lock(m_mutex);
        const SitesSettings next = changed(m_options.services, asked.changes);
        try {
            const std::function<void()> commit = m_prepare(next);
            replaceSettingsFile(m_file, rewriteSettings(readWhole(m_file), asked.changes));
            commit();
            m_options.services = next;
        } catch (const std::exception &e) {
            problem = safeReason(e.what(), secretsOf(next));
        }
    }
    if (!problem.empty())
        return answer(res, 400, "未保存：" + problem, asked.group);
    answer(res, 200, "已保存，已生效。", asked.group);
}

void SettingsDesk::trial(const std::vector<FormField> &form, httplib::Response &res) const
{
    setSettingsHeaders(res);
    const FormChanges asked = changesOfForm(form);
    const auto reply = [&](int status, bool translated, const std::string &text) {
        res.status = status;
        res.set_content(trialPage(asked.group, translated, text), "text/html; charset=utf-8");
    };
    if (!asked.problem.empty())
        return reply(400, false, asked.problem);
    SiteOptions options;
    {
        const std::lock_guard lock(m_mutex);
        options = m_options;
    }
    // That service's settings alone, as the form gives them.
    const SitesSettings all = changed(options.services, asked.changes);
    options.services = {};
    const std::vector<SettingsGroup> groups = settingsGroups();
    for (const SettingInfo *info : findGroup(groups, asked.group)->settings)
        if (const auto value = all.get(info->name))
            options.services.set(info->name, *value);
    options.apertium.clear();
    options.apertiumError.clear();
    options.logRequests = false;
    const std::vector<std::string_view> secrets = secretsOf(options.services);
    const Clock::time_point deadline = Clock::now() + options.backendLimit;
    TranslationGateway gateway(options.backendLimit);
    try {
        const AssembledBackends built = assembleBackends(gateway, options, {});
        const TranslationBackend *backend = gateway.find(asked.group);
        if (!backend) {
            std::string why = "未设置";
            for (const auto &[name, reason] : built.leftOut)
                if (name == asked.group)
                    why += "：" + reason;
            return reply(400, false, why);
        }
        const LanguagePair pair{"zh-CN", "en"};
        if (!backend->waitListKnown(deadline) || backend->offers(pair) == Offer::NotKnownYet)
            return reply(503, false,
                         backend->reach() == Reach::Refused
                             ? "密钥或账号被拒绝（密钥错误或额度用完）"
                             : "连不上服务：语言列表未能读取（地址错误、无网络或服务停止）");
        const Translation answer = backend->translate("你好，世界。", pair, deadline);
        if (answer.outcome == Translation::Outcome::Translated)
            return reply(200, true, answer.text);
        const std::string kind = backend->reach() == Reach::Refused ? "密钥或账号被拒绝："
                                 : answer.status == 503             ? "没有回答："
                                                                    : "";
        reply(answer.status ? answer.status : 502, false,
              kind + safeReason(answer.reason, secrets));
    } catch (const std::exception &e) {
        reply(400, false, safeReason(e.what(), secrets));
    }
}

} // namespace mirel::siteserver
