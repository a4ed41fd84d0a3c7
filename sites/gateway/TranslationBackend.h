#pragma once

#include "sites/core/Clock.h"
#include "sites/gateway/Translation.h"
#include "sites/languages/LanguageCodes.h"

#include <optional>
#include <string>

namespace mirel::siteserver {

// Whether a backend translates a pair at the moment.
enum class Offer {
    Yes,
    No,
    NotKnownYet, // its language list has not been read yet (service down, silent, starting)
};

// How a service stands, for the status page.
enum class Reach {
    Known,     // its language list is read (or it needs none): it translates what it offers
    NotYet,    // its list has not been read yet (down, silent, starting)
    Refused,   // it refused the key or the account
    Exhausted, // the account's quota is spent
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
    // Whether the text leaves the machine. An online service's call gets a share of the
    // time (ServiceShare) and its failures are remembered; a local one waits for the
    // deadline.
    virtual bool online() const { return true; }
    // An online service that needs the whole time left (a model answering slowly) and ends
    // its calls early enough by itself.
    virtual bool takesTimeLeft() const { return !online(); }
    // Opens a connection for the first call without sending text; the failure when the
    // service cannot be reached, nothing when it can (or there is nothing to open).
    virtual std::optional<Translation> warm(Clock::time_point deadline) const
    {
        (void)deadline;
        return std::nullopt;
    }
    // Ends its calls under way and every later one at once: the server is stopping.
    virtual void stop() {}
    virtual Translation translate(const std::string &utf8, const LanguagePair &pair,
                                  Clock::time_point deadline) const = 0;

    bool serves(const LanguagePair &pair) const { return offers(pair) == Offer::Yes; }
};

} // namespace mirel::siteserver
