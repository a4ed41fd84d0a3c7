#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/CharacterBudget.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/services/ServiceFault.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// An Azure AI Translator resource's key and, for a regional or multi-service resource, its
// region ("eastasia"; empty for a global resource).
struct AzureAccount
{
    std::string key;
    std::string region;
};

// Translator's code for a language, or nothing.
std::optional<std::string> azureLanguage(std::string_view language);

// The path and query of one call ("/translate?api-version=3.0&from=zh-Hans&to=en") under the
// endpoint's own path, and its JSON body ([{"Text": "…"}]).
std::string azurePath(std::string_view base, std::string_view from, std::string_view to);
std::string azureBody(std::string_view text);

// The translation in an answer ([{"translations": [{"text"}]}]), or the failure its
// error.code names (401xxx: the key; 403001, 429xxx and 5xx: for now).
ServiceAnswer readAzureAnswer(const HttpReply &reply, const AzureAccount &account);

// Azure AI Translator (v3) behind the gateway: pieces of at most 50,000 characters, and the
// free tier's two million characters an hour kept: past them a call fails at once (503).
class AzureBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://api.cognitive.microsofttranslator.com";
    static constexpr size_t DefaultPieceLimit = 50000;
    static constexpr size_t HourlyCharacters = 2000000;

    AzureBackend(ServiceEndpoint endpoint, AzureAccount account,
                 size_t hourlyCharacters = HourlyCharacters);

    std::string name() const override { return "azure"; }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "azure", deadline);
    }
    void stop() override { m_connections.close(); }
    Reach reach() const override { return m_key.reach(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    AzureAccount m_account;
    mutable CharacterBudget m_hour;
    mutable KeyStanding m_key;
};

} // namespace mirel::siteserver
