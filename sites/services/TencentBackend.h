#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/RequestPacer.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/services/ServiceFault.h"

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// A Tencent Cloud API key pair and the region its calls go to.
struct TencentAccount
{
    std::string secretId;
    std::string secretKey;
    std::string region = "ap-beijing";
};

// Tencent Machine Translation's code for a language, or nothing.
std::optional<std::string> tencentLanguage(std::string_view language);

// The JSON body of one TextTranslate call.
std::string tencentBody(std::string_view text, std::string_view source, std::string_view target);

// The translation in an answer ({"Response": {"TargetText"}}), or the failure from
// Response.Error.Code; clockSkew when the service found the signature's time too far off.
struct TencentReply
{
    ServiceAnswer answer;
    bool clockSkew = false;
};
TencentReply readTencentAnswer(const HttpReply &reply, const TencentAccount &account);

// Tencent Cloud Machine Translation (TMT) TextTranslate behind the gateway: pieces of at
// most 2,000 characters, at most five calls a second. When the service finds the request's
// time off by more than its five minutes, the time of its Date header is taken and the call
// made once more.
class TencentBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress = "https://tmt.tencentcloudapi.com/";
    static constexpr size_t DefaultPieceLimit = 2000;
    static constexpr std::chrono::milliseconds DefaultPace{210};

    TencentBackend(ServiceEndpoint endpoint, TencentAccount account,
                   std::chrono::milliseconds pace = DefaultPace);

    std::string name() const override { return "tencent"; }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "tencent", deadline);
    }
    void stop() override { m_connections.close(); }
    Reach reach() const override { return m_key.reach(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    TencentReply call(const std::string &body, Clock::time_point deadline) const;
    Translation translatePiece(std::string_view text, const std::string &source,
                               const std::string &target, Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_path;
    std::string m_host;
    TencentAccount m_account;
    mutable RequestPacer m_pacer;
    mutable KeyStanding m_key;
    mutable std::atomic<int64_t> m_clockOffset{0}; // the service's time less ours, in seconds
};

} // namespace mirel::siteserver
