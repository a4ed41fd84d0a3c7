#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/ServiceEndpoint.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Cloud Translation's code for a language: the server's own codes are Google's ("zh-CN",
// "zh-TW", "iw", …), so each language the window offers; nothing for another.
std::optional<std::string> googleCloudLanguage(std::string_view language);

// The form of one request: q, source, target, format=text.
std::string googleCloudForm(std::string_view q, std::string_view source, std::string_view target);

// The translation in an answer ("data": {"translations": [{"translatedText"}]}), or the
// failure: the service's error ({"error": {"code", "message"}}) with its message, never
// the key; 429 and 5xx (quota, rate, the service) are 503, other refusals 502. A key not
// valid (400, 401, 403) is a refused key; 403 for a daily limit or quota a spent quota.
AccountAnswer readGoogleCloudAnswer(const HttpReply &reply, std::string_view key);

// Cloud Translation, basic edition (v2), with an API key, behind the gateway. A long
// passage goes in pieces of at most pieceLimit characters (the service advises 5,000).
class GoogleCloudBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://translation.googleapis.com/language/translate/v2";
    static constexpr size_t DefaultPieceLimit = 5000;

    GoogleCloudBackend(ServiceEndpoint endpoint, std::string key,
                       size_t pieceLimit = DefaultPieceLimit);

    std::string name() const override { return "google"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "google", deadline);
    }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override { return m_reach.get(); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    std::string m_key;
    size_t m_pieceLimit;
    mutable ReachRecord m_reach;
};

} // namespace mirel::siteserver
