#include "sites/services/VolcengineBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/http/Digest.h"
#include "sites/http/HttpDate.h"
#include "sites/languages/LanguageTable.h"
#include "sites/services/VolcengineSigning.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>

namespace mirel::siteserver {
namespace {

constexpr std::string_view kQuery = "Action=TranslateText&Version=2020-06-01";
constexpr std::string_view kContentType = "application/json";

constexpr CodeFault kFaults[] = {
    {"InvalidAccessKey", Fault::Key, "access key refused (check volcengine-access-key)"},
    {"SignatureDoesNotMatch", Fault::Key, "signature refused (check volcengine-secret-key)"},
    {"InvalidCredential", Fault::Key, "credential refused"},
    {"InvalidAuthorization", Fault::Key, "authorization refused"},
    {"AccessDenied", Fault::Key, "the account may not use machine translation"},
    {"InvalidTimestamp", Fault::Wrong, "the request's time is off (check the clock)"},
    {"FlowLimitExceeded", Fault::Later, "rate limited"},
    {"ServiceUnavailableTemp", Fault::Later, "the service is unavailable for now"},
    {"ServiceUnavailable", Fault::Later, "the service is unavailable"},
    {"InternalError", Fault::Later, "internal error at the service"},
    {"InternalServiceError", Fault::Later, "internal error at the service"},
    {"InternalServiceTimeout", Fault::Later, "the service timed out"},
    {"-429", Fault::Later, "rate or quota limit"},
    {"-500", Fault::Later, "internal error at the service"},
    {"-415", Fault::Wrong, "language not supported"},
    {"-400", Fault::Wrong, "a parameter was refused"},
};

std::string hostOf(const ServiceAddress &service)
{
    const size_t scheme = service.origin.find("://");
    return scheme == std::string::npos ? service.origin : service.origin.substr(scheme + 3);
}

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

std::optional<std::string> volcengineLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::volcengine, language);
}

std::string volcengineBody(std::string_view text, std::string_view source, std::string_view target)
{
    const QJsonObject body{{"SourceLanguage", qs(source)},
                           {"TargetLanguage", qs(target)},
                           {"TextList", QJsonArray{qs(text)}}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
}

ServiceAnswer readVolcengineAnswer(const HttpReply &reply, const VolcengineAccount &account)
{
    const JsonAnswer json = readJsonAnswer(reply, "volcengine");
    if (json.failure)
        return unreadable(reply, *json.failure);
    const QJsonObject object = json.document->object();
    const QJsonObject error =
        object.value(u"ResponseMetadata").toObject().value(u"Error").toObject();
    if (!error.isEmpty()) {
        const QJsonValue codeValue = error.value(u"Code");
        const std::string code = codeValue.isDouble() ? std::to_string(codeValue.toInteger())
                                                      : codeValue.toString().toStdString();
        const CodeFault *row = findFault(kFaults, code);
        const Fault fault = row                                          ? row->fault
                            : reply.status >= 500 || reply.status == 429 ? Fault::Later
                                                                         : Fault::Wrong;
        return refusedWith("volcengine", code.empty() ? "no code" : code, fault,
                           row ? row->reason : error.value(u"Message").toString().toStdString(),
                           {account.secretKey, account.accessKey});
    }
    if (reply.status >= 500 || reply.status == 429)
        return {Translation::noAnswer("volcengine answered " + std::to_string(reply.status))};
    if (reply.status != 200)
        return {Translation::badAnswer("volcengine answered " + std::to_string(reply.status))};
    const QJsonArray list = object.value(u"TranslationList").toArray();
    const QJsonValue text =
        list.isEmpty() ? QJsonValue() : list.first().toObject().value(u"Translation");
    if (!text.isString())
        return {Translation::badAnswer("volcengine: the answer has no TranslationList")};
    return {Translation::translated(text.toString().toStdString())};
}

VolcengineBackend::VolcengineBackend(ServiceEndpoint endpoint, VolcengineAccount account)
    : m_connections(endpoint.service), m_path(std::move(endpoint.path)),
      m_host(hostOf(endpoint.service)), m_account(std::move(account))
{
}

Offer VolcengineBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && volcengineLanguage(pair.from) && volcengineLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation VolcengineBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                         Clock::time_point deadline) const
{
    const auto source = volcengineLanguage(pair.from);
    const auto target = volcengineLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("volcengine: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, DefaultPieceLimit, TextMeasure::Utf16Units);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        const std::string body = volcengineBody(core, *source, *target);
        const std::string xDate = utcTime(std::chrono::duration_cast<std::chrono::seconds>(
                                              std::chrono::system_clock::now().time_since_epoch())
                                              .count(),
                                          true);
        const std::string bodyHash = sha256Hex(body);
        const VolcRequest request{"POST",
                                  m_path,
                                  kQuery,
                                  {{"content-type", std::string(kContentType)},
                                   {"host", m_host},
                                   {"x-content-sha256", bodyHash},
                                   {"x-date", xDate}},
                                  body};
        HttpCall call{"POST", m_path + "?" + std::string(kQuery), body, std::string(kContentType)};
        call.headers = {
            {"Authorization", volcAuthorization(m_account.accessKey, m_account.secretKey, xDate,
                                                "cn-north-1", "translate", request)},
            {"X-Content-Sha256", bodyHash},
            {"X-Date", xDate},
        };
        return m_key.note(readVolcengineAnswer(m_connections.call(call, deadline), m_account));
    });
}

} // namespace mirel::siteserver
