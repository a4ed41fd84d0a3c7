#pragma once

#include "sites/pages/FormBody.h"
#include "sites/setup/SettingsWriter.h"
#include "sites/setup/SiteOptions.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

namespace mirel::siteserver {

// The changes a form of the settings page asks for, or why it cannot be taken (nothing
// is written then). A secret left empty stays as it is, another setting left empty is
// removed; "forget" removes every setting of the service.
struct FormChanges
{
    std::string group;
    SettingChanges changes;
    std::string problem;
};
FormChanges changesOfForm(const std::vector<FormField> &form);

// The settings with the changes made.
SitesSettings changed(SitesSettings settings, const SettingChanges &changes);

// The settings page behind its checks: shows the settings in force, saves a form's
// changes to the user's settings file and puts them in force at once, tries a service.
class SettingsDesk
{
public:
    // Builds what the settings would run; throws std::invalid_argument when they cannot
    // (a bad address, an unknown name in "order"). The function it gives puts them in force.
    using Prepare = std::function<std::function<void()>(const SitesSettings &)>;

    // userFile: the file saving writes (empty: none). options: the server's, with the
    // settings in force.
    SettingsDesk(std::filesystem::path userFile, SiteOptions options, Prepare prepare);

    const std::string &token() const { return m_token; }
    // GET: the page.
    void page(httplib::Response &res) const;
    // POST of a form whose token was checked: saves it, answers with the page.
    void save(const std::vector<FormField> &form, httplib::Response &res);
    // POST of a form whose token was checked: one passage through that service alone,
    // with the form's settings, within the server's time limit.
    void trial(const std::vector<FormField> &form, httplib::Response &res) const;

private:
    void answer(httplib::Response &res, int status, std::string notice, std::string group) const;

    const std::string m_token;
    const std::filesystem::path m_file;
    const Prepare m_prepare;
    mutable std::mutex m_mutex; // one save at a time; guards m_options.services
    SiteOptions m_options;
};

// The headers every settings answer carries: no framing, no script, forms only to itself.
void setSettingsHeaders(httplib::Response &res);

} // namespace mirel::siteserver
