#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/services/ServiceFault.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// An Alibaba Cloud AccessKey pair.
struct AlibabaAccount
{
    std::string accessKeyId;
    std::string accessKeySecret;
};

using QueryParams = std::vector<std::pair<std::string, std::string>>;

// Alibaba Cloud's RPC signature (HMAC-SHA1, version 1.0): the parameters sorted by name and
// percent-encoded, the string to sign ("POST&%2F&<encoded query>") and its signature
// (base64 of HMAC-SHA1 keyed with the secret and "&").
std::string alibabaCanonicalQuery(QueryParams params);
std::string alibabaStringToSign(std::string_view method, const QueryParams &params);
std::string alibabaSignature(std::string_view accessKeySecret, std::string_view stringToSign);

// Machine Translation's code for a language, or nothing.
std::optional<std::string> alibabaLanguage(std::string_view language);

// The signed form of one TranslateGeneral call.
std::string alibabaForm(const AlibabaAccount &account, std::string_view text,
                        std::string_view source, std::string_view target, std::string_view nonce,
                        std::string_view timestamp);

// The translation in an answer ({"Code": 200, "Data": {"Translated"}}; Code a number or a
// string), or the failure its Code names.
ServiceAnswer readAlibabaAnswer(const HttpReply &reply, const AlibabaAccount &account);

// Alibaba Cloud Machine Translation, general edition (TranslateGeneral, plain text) behind
// the gateway: pieces of at most 5,000 characters.
class AlibabaBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress = "https://mt.cn-hangzhou.aliyuncs.com/";
    static constexpr size_t DefaultPieceLimit = 5000;

    AlibabaBackend(ServiceEndpoint endpoint, AlibabaAccount account);

    std::string name() const override { return "alibaba"; }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "alibaba", deadline);
    }
    void stop() override { m_connections.close(); }
    Reach reach() const override { return m_key.reach(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::string m_path;
    AlibabaAccount m_account;
    mutable KeyStanding m_key;
};

} // namespace mirel::siteserver
