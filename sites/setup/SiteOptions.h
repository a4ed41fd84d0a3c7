#pragma once

#include "sites/gateway/TranslationGateway.h"
#include "sites/languages/ChineseScript.h"
#include "sites/setup/SitesSettings.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace mirel::siteserver {

struct SiteOptions
{
    bool relayBusy = false; // the Baidu relay answers with its busy page
    bool logRequests = false;
    std::filesystem::path dataFolder; // glossary and dictionary; empty: the source tree's
    std::string apertium;             // APy's address; empty: no Apertium
    bool apertiumProbe = false;       // try each pair APy lists once; offer those that work
    std::chrono::milliseconds apertiumWait{5000}; // for its pair list at construction
    std::filesystem::path cacheFolder;            // recent pairs and trial results; empty: none
    SitesSettings services;    // the translation services' settings (upstream, keys, …)
    std::string apertiumError; // why there is none although one was asked for
    std::vector<std::string> settingsWarnings; // about the settings files, for the vendor page
    std::filesystem::path opencc = ChineseScript::DefaultFolder; // OpenCC's data folder
    std::chrono::milliseconds backendLimit = TranslationGateway::DefaultLimit;
    std::filesystem::path settingsFile; // the user's, written by the settings page; empty: none
    // An Apertium backend already running (kept by an earlier gateway), used rather than
    // a new one when the settings change.
    const TranslationBackend *runningApertium = nullptr;
};

} // namespace mirel::siteserver
