#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/services/ServiceFault.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// A Volcengine AccessKey pair.
struct VolcengineAccount
{
    std::string accessKey;
    std::string secretKey;
};

// Volcengine machine translation's code for a language, or nothing.
std::optional<std::string> volcengineLanguage(std::string_view language);

// The JSON body of one TranslateText call: one text.
std::string volcengineBody(std::string_view text, std::string_view source, std::string_view target);

// The translation in an answer ({"TranslationList": [{"Translation"}]}), or the failure of
// ResponseMetadata.Error.Code.
ServiceAnswer readVolcengineAnswer(const HttpReply &reply, const VolcengineAccount &account);

// Volcengine machine translation (TranslateText, 2020-06-01, region cn-north-1) behind the
// gateway: one text of at most 5,000 characters a request.
class VolcengineBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress = "https://translate.volcengineapi.com/";
    static constexpr size_t DefaultPieceLimit = 5000;

    VolcengineBackend(ServiceEndpoint endpoint, VolcengineAccount account);

    std::string name() const override { return "volcengine"; }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "volcengine", deadline);
    }
    void stop() override { m_connections.close(); }
    Reach reach() const override { return m_key.reach(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    std::string m_host;
    VolcengineAccount m_account;
    mutable KeyStanding m_key;
};

} // namespace mirel::siteserver
