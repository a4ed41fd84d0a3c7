#pragma once

#include "sites/setup/SitesSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// The settings of one block of the settings page: a service (the settings named by its
// prefix, "baidu-app-id" → baidu) or a general setting ("order").
struct SettingsGroup
{
    std::string name;
    std::vector<const SettingInfo *> settings;
    // A service holds a key: it can be tried and switched off.
    bool service() const;
};

// Every setting the server knows, grouped by the name before its first "-", in the order
// knownSettings lists them.
std::vector<SettingsGroup> settingsGroups();
const SettingsGroup *findGroup(const std::vector<SettingsGroup> &groups, std::string_view name);

// How a secret that is set is shown: "已设置" and at most its last four characters.
std::string secretShown(std::string_view secret);

struct SettingsView
{
    std::string token;     // the page's token, sent back by each form
    std::string file;      // where saving writes; empty: saving is not possible
    SitesSettings inForce; // the settings the server uses now
    std::string notice;    // a line above the blocks (saved, refused); plain text
    std::string noticeFor; // the block it belongs to; empty: the page
};

// The page: a form per block, each field named as the setting it writes, secrets never
// shown (secretShown), plain HTML without script, readable 390 pixels wide.
std::string settingsPage(const SettingsView &view);

// The answer of 试一试 for a service: its translation or why it failed.
std::string trialPage(std::string_view service, bool translated, std::string_view text);

// The headers that keep the page from being framed, scripted or posted elsewhere.
inline constexpr const char *SettingsPagePolicy =
    "default-src 'none'; style-src 'self' 'unsafe-inline'; form-action 'self'; "
    "frame-ancestors 'none'";

} // namespace mirel::siteserver
