#pragma once

#include "sites/dictionary/DictionaryData.h"
#include "sites/gateway/TranslationGateway.h"
#include "sites/pages/Sessions.h"

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// What every handler needs to know about the running site server.
struct SiteContext
{
    std::string base; // "http://127.0.0.1:<port>", the home of every site it serves
    bool relayBusy = false;
    Sessions engineSessions{"MIREL_SESSION"};
    Sessions dictionarySessions{"OUTFOX_SEARCH_USER_ID"};
    // The engines of the settings in force, replaced whole when they change: a request
    // takes them once and keeps them to its end.
    std::atomic<std::shared_ptr<const TranslationGateway>> gateway;
    // Services that are set up but could not be added (name, why), for the status page.
    std::atomic<std::shared_ptr<const std::vector<std::pair<std::string, std::string>>>> leftOut;
    std::vector<std::string> settingsWarnings; // a key file others may read, shown to the user
    Dictionary dictionary;
};

// Answers 400 with a one-line reason.
void badRequest(httplib::Response &res, const std::string &reason);

// Answers an error status with a one-line reason.
void failWith(httplib::Response &res, int status, const std::string &reason);

// "MIREL_SESSION 1a2b, request 3"
std::string sessionNote(const Sessions &sessions, const Sessions::Visit &visit);

// The header that names the engine behind an answer and its time, for the log.
inline constexpr const char *TranslatedByHeader = "X-Translated-By";

} // namespace mirel::siteserver
