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
    // Whom a failure blames, which decides whether the service is passed over for a while
    // (a refused key is told by the backend's reach).
    enum class Fault {
        Service, // the network or the vendor: no connection, too late, 429, 5xx, a bad answer
        Request, // this passage or pair failed, not the service: it stays in use
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
    // A passage whose pieces need more time than is left at the service's rate.
    static Translation outOfTurns(std::string reason)
    {
        return {Outcome::Failed, {}, 503, std::move(reason), Fault::Request};
    }
    static Translation refusedRequest(std::string reason)
    {
        return {Outcome::Failed, {}, 502, std::move(reason), Fault::Request};
    }
};

} // namespace mirel::siteserver
