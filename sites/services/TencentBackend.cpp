#include "sites/services/TencentBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/http/HttpDate.h"
#include "sites/languages/LanguageTable.h"
#include "sites/services/TencentSigning.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>

namespace mirel::siteserver {
namespace {

constexpr auto kShortestCall = std::chrono::milliseconds(500);
constexpr std::string_view kContentType = "application/json; charset=utf-8";

constexpr CodeFault kFaults[] = {
    {"AuthFailure", Fault::Key, "key refused (check tencent-secret-id and tencent-secret-key)"},
    {"AuthFailure.SignatureExpire", Fault::Later, "the request's time is off (check the clock)"},
    {"FailedOperation.NoFreeAmount", Fault::Later, "this month's free characters are used up"},
    {"FailedOperation.ServiceIsolate", Fault::Later, "the account is in arrears"},
    {"FailedOperation.UserNotRegistered", Fault::Key,
     "machine translation is not activated for this account"},
    {"FailedOperation.StopUsing", Fault::Later, "the service is stopped for this account"},
    {"FailedOperation", Fault::Wrong, "the call failed"},
    {"LimitExceeded", Fault::Later, "rate or quota limit"},
    {"RequestLimitExceeded", Fault::Later, "rate limited"},
    {"InternalError", Fault::Later, "internal error at the service"},
    {"UnsupportedOperation.UnsupportedLanguage", Fault::Wrong, "language pair not supported"},
    {"UnsupportedOperation.TextTooLong", Fault::Wrong, "text too long"},
    {"UnsupportedOperation", Fault::Wrong, "not supported"},
    {"InvalidParameter", Fault::Wrong, "a parameter was refused"},
    {"InvalidParameterValue", Fault::Wrong, "a parameter value was refused"},
    {"MissingParameter", Fault::Wrong, "a parameter is missing"},
};

std::string hostOf(const ServiceAddress &service)
{
    const size_t scheme = service.origin.find("://");
    return scheme == std::string::npos ? service.origin : service.origin.substr(scheme + 3);
}

int64_t secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::optional<std::string> tencentLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::tencent, language);
}

std::string tencentBody(std::string_view text, std::string_view source, std::string_view target)
{
    const QJsonObject body{
        {"SourceText", QString::fromUtf8(text.data(), qsizetype(text.size()))},
        {"Source", QString::fromUtf8(source.data(), qsizetype(source.size()))},
        {"Target", QString::fromUtf8(target.data(), qsizetype(target.size()))},
        {"ProjectId", 0},
    };
    return QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
}

TencentReply readTencentAnswer(const HttpReply &reply, const TencentAccount &account)
{
    const JsonAnswer json = readJsonAnswer(reply, "tencent");
    if (json.failure)
        return {unreadable(reply, *json.failure)};
    const QJsonObject response = json.document->object().value(u"Response").toObject();
    const QJsonValue error = response.value(u"Error");
    const std::vector<std::string_view> secrets{account.secretKey, account.secretId};
    if (error.isObject()) {
        const std::string code = error.toObject().value(u"Code").toString().toStdString();
        const CodeFault *row = findFault(kFaults, code);
        const std::string message = error.toObject().value(u"Message").toString().toStdString();
        return {refusedWith("tencent", code.empty() ? "no code" : code,
                            row ? row->fault : Fault::Wrong, row ? row->reason : message, secrets),
                code == "AuthFailure.SignatureExpire"};
    }
    if (reply.status >= 500 || reply.status == 429)
        return {{Translation::noAnswer("tencent answered " + std::to_string(reply.status))}};
    if (reply.status != 200)
        return {{Translation::badAnswer("tencent answered " + std::to_string(reply.status))}};
    const QJsonValue text = response.value(u"TargetText");
    if (!text.isString())
        return {{Translation::badAnswer("tencent: the answer has no TargetText")}};
    return {{Translation::translated(text.toString().toStdString())}};
}

TencentBackend::TencentBackend(ServiceEndpoint endpoint, TencentAccount account,
                               std::chrono::milliseconds pace)
    : m_connections(endpoint.service), m_path(std::move(endpoint.path)),
      m_host(hostOf(endpoint.service)), m_account(std::move(account)), m_pacer(pace)
{
}

Offer TencentBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && tencentLanguage(pair.from) && tencentLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation TencentBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                      Clock::time_point deadline) const
{
    const auto source = tencentLanguage(pair.from);
    const auto target = tencentLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("tencent: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, DefaultPieceLimit, TextMeasure::Utf16Units);
    size_t calls = 0;
    for (const std::string_view piece : pieces)
        calls += trimPiece(piece).core.empty() ? 0 : 1;
    const auto lastTurn = m_pacer.nextFree() +
                          m_pacer.interval() * static_cast<Clock::rep>(calls > 0 ? calls - 1 : 0);
    if (calls > 1 && lastTurn > deadline - kShortestCall)
        return Translation::outOfTurns("tencent: the passage needs " + std::to_string(calls) +
                                       " requests, more than its rate allows in the time left");
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        return translatePiece(core, *source, *target, deadline);
    });
}

TencentReply TencentBackend::call(const std::string &body, Clock::time_point deadline) const
{
    if (!m_pacer.waitTurn(deadline - kShortestCall))
        return {
            {Translation::outOfTurns("tencent: no time left for the next request at its rate")}};
    const int64_t timestamp = secondsNow() + m_clockOffset.load();
    const Tc3Request request{kContentType, m_host, "TextTranslate", body};
    HttpCall call{"POST", m_path, body, std::string(kContentType)};
    call.headers = {
        {"Authorization",
         tc3Authorization(m_account.secretId, m_account.secretKey, timestamp, "tmt", request)},
        {"X-TC-Action", "TextTranslate"},
        {"X-TC-Version", "2018-03-21"},
        {"X-TC-Region", m_account.region},
        {"X-TC-Timestamp", std::to_string(timestamp)},
    };
    const HttpReply reply = m_connections.call(call, deadline);
    TencentReply answer = readTencentAnswer(reply, m_account);
    if (answer.clockSkew) {
        const auto served = httpDateSeconds(reply.date);
        if (served)
            m_clockOffset = *served - secondsNow();
        answer.clockSkew = served.has_value(); // without the service's time, no new try
    }
    return answer;
}

Translation TencentBackend::translatePiece(std::string_view text, const std::string &source,
                                           const std::string &target,
                                           Clock::time_point deadline) const
{
    const std::string body = tencentBody(text, source, target);
    TencentReply reply = call(body, deadline);
    if (reply.clockSkew) // once more, at the service's time
        reply = call(body, deadline);
    return m_key.note(std::move(reply.answer));
}

} // namespace mirel::siteserver
