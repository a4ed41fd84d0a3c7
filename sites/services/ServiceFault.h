#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/http/BoundedHttp.h"

#include <atomic>
#include <span>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// What a service's error code means for the user.
enum class Fault {
    Later, // for now: rate, quota, the service's own trouble (503)
    Wrong, // the request or the answer is wrong (502)
    Key,   // the key or the account was refused (502, and the status page says so)
};

// One row of a service's error table.
struct CodeFault
{
    std::string_view code;
    Fault fault;
    std::string_view reason; // our own words
};

// The row of a code: an exact match, else the row of its family (the part before the first
// '.', as "AuthFailure" for "AuthFailure.MFAFailure"); null for neither.
const CodeFault *findFault(std::span<const CodeFault> table, std::string_view code);

// A translation, or a failure with whether the service refused the key.
struct ServiceAnswer
{
    Translation translation;
    bool keyRefused = false;
};

// The failure for a service's refusal: "<service> refused (<code>): <reason>", 503 for a
// fault of later, 502 otherwise. The code and the reason are made safe with the secrets.
ServiceAnswer refusedWith(std::string_view service, std::string_view code, Fault fault,
                          std::string_view reason, const std::vector<std::string_view> &secrets);

// The failure of an answer that holds no JSON document: for now (503) when the service
// answered 5xx or 429 (its gateway's page, say), else as read.
ServiceAnswer unreadable(const HttpReply &reply, Translation failure);

// Whether a service's last answer refused its key, for the status page.
class KeyStanding
{
public:
    // Notes an answer and hands its translation on.
    Translation note(ServiceAnswer answer);
    Reach reach() const { return m_refused ? Reach::Refused : Reach::Known; }

private:
    std::atomic<bool> m_refused{false};
};

} // namespace mirel::siteserver
