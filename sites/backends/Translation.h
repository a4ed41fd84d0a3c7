#pragma once

#include "sites/languages/LanguageCodes.h"

#include <chrono>
#include <string>

namespace mirel::sites {

using Clock = std::chrono::steady_clock;

// What a translation engine made of one request.
struct Translation
{
    enum class Outcome {
        Translated,  // text holds the translation (UTF-8)
        Failed,      // the engine is down, refused, answered badly or too late
        Unsupported, // no engine serves the pair
    };
    Outcome outcome = Outcome::Failed;
    std::string text;
    int status = 0;     // 502 (a bad answer), 503 (no answer) or 501 (no engine)
    std::string reason; // short ASCII reason, for the log and the error page

    static Translation translated(std::string text)
    {
        return {Outcome::Translated, std::move(text), 200, {}};
    }
    static Translation noAnswer(std::string reason)
    {
        return {Outcome::Failed, {}, 503, std::move(reason)};
    }
    static Translation badAnswer(std::string reason)
    {
        return {Outcome::Failed, {}, 502, std::move(reason)};
    }
};

// Whether a backend translates a pair at the moment.
enum class Offer {
    Yes,
    No,
    NotKnownYet, // its language list has not been read yet (service down, silent, starting)
};

// How a service stands, for the status page.
enum class Reach {
    Known,   // its language list is read (or it needs none): it translates what it offers
    NotYet,  // its list has not been read yet (down, silent, starting)
    Refused, // it refused the key or the account (wrong key, no quota)
};

// One translation engine behind the site server: it says which pairs it serves and
// translates text within a deadline.
class TranslationBackend
{
public:
    virtual ~TranslationBackend() = default;
    virtual std::string name() const = 0;
    virtual Offer offers(const LanguagePair &pair) const = 0;
    // An exact conversion (simplified <-> traditional Chinese) goes before every
    // translation service, the engine's own vendor included.
    virtual bool exact() const { return false; }
    // Waits until the backend's language list is known (read in the background) or the
    // time is up; true when known. A backend with a fixed list knows it at once.
    virtual bool waitListKnown(Clock::time_point until) const
    {
        (void)until;
        return true;
    }
    virtual Reach reach() const { return Reach::Known; }
    // Ends its calls under way and every later one at once: the server is stopping.
    virtual void stop() {}
    virtual Translation translate(const std::string &utf8, const LanguagePair &pair,
                                  Clock::time_point deadline) const = 0;

    bool serves(const LanguagePair &pair) const { return offers(pair) == Offer::Yes; }
};

} // namespace mirel::sites
