#pragma once

#include <string>
#include <utility>

namespace mirel::siteserver {

// What a translation engine made of one request.
struct Translation
{
    enum class Outcome {
        Translated,  // text holds the translation (UTF-8)
        Failed,      // the engine is down, refused, answered badly or too late
        Unsupported, // no engine serves the pair
    };
    // Whom a failure blames, which decides how long the service is passed over.
    enum class Fault {
        Service, // the network or the vendor: no connection, too late, 429, 5xx, a bad answer
        Key,     // the vendor refused the key or the account: until the settings change
        Request, // the vendor refused this passage or pair: the service stays in use
    };
    Outcome outcome = Outcome::Failed;
    std::string text;
    int status = 0;     // 502 (a bad answer), 503 (no answer) or 501 (no engine)
    std::string reason; // short ASCII reason, for the log and the error page
    Fault fault = Fault::Service;

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
    static Translation refusedKey(std::string reason)
    {
        return {Outcome::Failed, {}, 503, std::move(reason), Fault::Key};
    }
    static Translation refusedRequest(std::string reason)
    {
        return {Outcome::Failed, {}, 502, std::move(reason), Fault::Request};
    }
};

} // namespace mirel::siteserver
