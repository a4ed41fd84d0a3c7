#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/services/ServiceFault.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Niutrans's code for a language, or nothing.
std::optional<std::string> niutransLanguage(std::string_view language);

// The form of one request: from, to, apikey, src_text.
std::string niutransForm(std::string_view text, std::string_view from, std::string_view to,
                         std::string_view key);

// The translation in an answer ({"tgt_text"}), or the failure of its error_code (or
// result_code).
ServiceAnswer readNiutransAnswer(const HttpReply &reply, std::string_view key);

// Niutrans text translation (NiuTransServer/translation) with an API key behind the gateway:
// pieces of at most 5,000 characters.
class NiutransBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://api.niutrans.com/NiuTransServer/translation";
    static constexpr size_t DefaultPieceLimit = 5000;

    NiutransBackend(ServiceEndpoint endpoint, std::string key);

    std::string name() const override { return "niutrans"; }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "niutrans", deadline);
    }
    void stop() override { m_connections.close(); }
    Reach reach() const override { return m_standing.reach(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    std::string m_key;
    mutable KeyStanding m_standing;
};

} // namespace mirel::siteserver
