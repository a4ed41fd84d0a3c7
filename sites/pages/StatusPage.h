#pragma once

#include "sites/gateway/TranslationGateway.h"

#include <string>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// What the server can do right now, as an HTML section for the vendor's home page: per
// engine of the window, which service answers which of its language pairs; every
// service and how it stands; the Apertium pairs the window cannot ask for; and, when no
// translation service is set up, which settings to add in which file. It names
// services and languages only, never a setting's value.
//   leftOut: services set up but not usable since the start (name, why: not shown).
std::string statusSection(const TranslationGateway &gateway,
                          const std::vector<std::pair<std::string, std::string>> &leftOut);

// A service's name as the page shows it ("baidu" -> "百度翻译").
std::string serviceTitle(std::string_view name);

} // namespace mirel::siteserver
