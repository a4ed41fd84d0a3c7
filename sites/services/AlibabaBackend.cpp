#include "sites/services/AlibabaBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/http/Digest.h"
#include "sites/http/FormEncoding.h"
#include "sites/http/HttpDate.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonObject>
#include <QUuid>

#include <algorithm>
#include <chrono>

namespace mirel::siteserver {
namespace {

constexpr CodeFault kFaults[] = {
    {"10001", Fault::Later, "request timed out at the service"},
    {"10002", Fault::Later, "system error at the service"},
    {"10003", Fault::Wrong, "the text could not be URL-decoded"},
    {"10004", Fault::Wrong, "a parameter is missing or wrong"},
    {"10005", Fault::Wrong, "language pair not supported"},
    {"10006", Fault::Wrong, "language detection failed"},
    {"10007", Fault::Wrong, "translation failed"},
    {"10008", Fault::Wrong, "text too long"},
    {"10009", Fault::Key, "the RAM user may not use machine translation"},
    {"10010", Fault::Key, "machine translation is not activated for this account"},
    {"10011", Fault::Later, "the service failed for the RAM user"},
    {"10012", Fault::Later, "the translation service failed"},
    {"10013", Fault::Later, "not activated or in arrears"},
    {"InvalidAccessKeyId", Fault::Key, "access key refused (check alibaba-access-key-id)"},
    {"SignatureDoesNotMatch", Fault::Key, "signature refused (check alibaba-access-key-secret)"},
    {"IncompleteSignature", Fault::Key, "signature refused"},
    {"Forbidden", Fault::Key, "the account may not use machine translation"},
    {"InvalidTimeStamp", Fault::Wrong, "the request's time is off (check the clock)"},
    {"SignatureNonceUsed", Fault::Later, "nonce used twice"},
    {"Throttling", Fault::Later, "rate limited"},
    {"ServiceUnavailable", Fault::Later, "the service is unavailable"},
    {"InternalError", Fault::Later, "internal error at the service"},
};

QueryParams translateParams(const AlibabaAccount &account, std::string_view text,
                            std::string_view source, std::string_view target,
                            std::string_view nonce, std::string_view timestamp)
{
    return {
        {"AccessKeyId", account.accessKeyId},
        {"Action", "TranslateGeneral"},
        {"Format", "JSON"},
        {"FormatType", "text"},
        {"Scene", "general"},
        {"SignatureMethod", "HMAC-SHA1"},
        {"SignatureNonce", std::string(nonce)},
        {"SignatureVersion", "1.0"},
        {"SourceLanguage", std::string(source)},
        {"SourceText", std::string(text)},
        {"TargetLanguage", std::string(target)},
        {"Timestamp", std::string(timestamp)},
        {"Version", "2018-10-12"},
    };
}

std::string codeOf(const QJsonValue &code)
{
    if (code.isDouble())
        return std::to_string(code.toInteger());
    return code.toString().toStdString();
}

} // namespace

std::string alibabaCanonicalQuery(QueryParams params)
{
    std::sort(params.begin(), params.end());
    std::string out;
    for (const auto &[name, value] : params)
        out += (out.empty() ? "" : "&") + percentEncoded(name) + "=" + percentEncoded(value);
    return out;
}

std::string alibabaStringToSign(std::string_view method, const QueryParams &params)
{
    return std::string(method) + "&%2F&" + percentEncoded(alibabaCanonicalQuery(params));
}

std::string alibabaSignature(std::string_view accessKeySecret, std::string_view stringToSign)
{
    return hmacSha1Base64(std::string(accessKeySecret) + "&", stringToSign);
}

std::optional<std::string> alibabaLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::alibaba, language);
}

std::string alibabaForm(const AlibabaAccount &account, std::string_view text,
                        std::string_view source, std::string_view target, std::string_view nonce,
                        std::string_view timestamp)
{
    QueryParams params = translateParams(account, text, source, target, nonce, timestamp);
    const std::string signature =
        alibabaSignature(account.accessKeySecret, alibabaStringToSign("POST", params));
    params.emplace_back("Signature", signature);
    std::vector<std::pair<std::string_view, std::string_view>> fields;
    for (const auto &[name, value] : params)
        fields.emplace_back(name, value);
    return formBody(fields);
}

ServiceAnswer readAlibabaAnswer(const HttpReply &reply, const AlibabaAccount &account)
{
    const JsonAnswer json = readJsonAnswer(reply, "alibaba");
    if (json.failure)
        return unreadable(reply, *json.failure);
    const QJsonObject object = json.document->object();
    const std::string code = codeOf(object.value(u"Code"));
    if (!code.empty() && code != "200") {
        const CodeFault *row = findFault(kFaults, code);
        const Fault fault = row                                          ? row->fault
                            : reply.status >= 500 || reply.status == 429 ? Fault::Later
                                                                         : Fault::Wrong;
        return refusedWith("alibaba", code, fault,
                           row ? row->reason : object.value(u"Message").toString().toStdString(),
                           {account.accessKeySecret, account.accessKeyId});
    }
    if (reply.status >= 500 || reply.status == 429)
        return {Translation::noAnswer("alibaba answered " + std::to_string(reply.status))};
    if (reply.status != 200)
        return {Translation::badAnswer("alibaba answered " + std::to_string(reply.status))};
    const QJsonValue text = object.value(u"Data").toObject().value(u"Translated");
    if (!text.isString())
        return {Translation::badAnswer("alibaba: the answer has no Data.Translated")};
    return {Translation::translated(text.toString().toStdString())};
}

AlibabaBackend::AlibabaBackend(ServiceEndpoint endpoint, AlibabaAccount account)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_account(std::move(account))
{
}

Offer AlibabaBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && alibabaLanguage(pair.from) && alibabaLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation AlibabaBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                      Clock::time_point deadline) const
{
    const auto source = alibabaLanguage(pair.from);
    const auto target = alibabaLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("alibaba: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, DefaultPieceLimit, TextMeasure::Utf16Units);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
        const std::string nonce = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        const HttpCall call{"POST", m_path,
                            alibabaForm(m_account, core, *source, *target, nonce, utcTime(now)),
                            "application/x-www-form-urlencoded"};
        return m_key.note(readAlibabaAnswer(m_connections.call(call, deadline), m_account));
    });
}

} // namespace mirel::siteserver
