#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/ServiceEndpoint.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Youdao's text translation API (openapi.youdao.com/api): an app key and its secret.
struct YoudaoAccount
{
    std::string appKey;
    std::string appSecret;
};

// Youdao's code for a language ("zh-CHS", "zh-CHT", "en", "ja", "ko", …), or nothing.
std::optional<std::string> youdaoLanguage(std::string_view language);

// The text's part in the signature: the text itself when it is at most 20 characters
// long, else its first 10 characters, its length and its last 10 characters. Characters
// are UTF-16 code units, as the service (and its Java sample) counts them: a character
// above U+FFFF is 2, and a half of one cut off by the count is written as "?", as Java
// writes a lone surrogate in UTF-8.
std::string youdaoSignInput(std::string_view q);

// Signature type v3: SHA-256 of app key, signature input, salt, time (seconds since
// 1970) and secret, as 64 lowercase hex digits.
std::string youdaoSign(const YoudaoAccount &account, std::string_view q, std::string_view salt,
                       std::string_view curtime);

// The form of one request: q, from, to, appKey, salt, sign, signType, curtime, and
// strict=true: the service translates from the language chosen even when the text does
// not look like it, instead of picking another direction itself.
std::string youdaoForm(const YoudaoAccount &account, std::string_view q, std::string_view from,
                       std::string_view to, std::string_view salt, std::string_view curtime);

// The translation in an answer ("translation": its lines), or the failure: an errorCode
// other than "0" is refused with a short reason of our own words, 503 for one that passes
// (rate, balance, the service's own fault), else 502.
AccountAnswer readYoudaoAnswer(const HttpReply &reply);

// Youdao's text translation behind the gateway. A long passage goes in pieces of at most
// pieceLimit characters, in order, within the request's deadline.
class YoudaoBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress = "https://openapi.youdao.com/api";
    static constexpr size_t DefaultPieceLimit = 5000;

    YoudaoBackend(ServiceEndpoint endpoint, YoudaoAccount account,
                  size_t pieceLimit = DefaultPieceLimit);

    std::string name() const override { return "youdao"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "youdao", deadline);
    }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override { return m_reach.get(); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    YoudaoAccount m_account;
    size_t m_pieceLimit;
    mutable ReachRecord m_reach;
};

} // namespace mirel::siteserver
