#include "sites/services/GoogleCloudBackend.h"
#include "sites/http/FormEncoding.h"
#include "sites/http/SafeReason.h"
#include "sites/languages/LanguageTable.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirel::siteserver {

std::optional<std::string> googleCloudLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::googleCloud, language);
}

std::string googleCloudForm(std::string_view q, std::string_view source, std::string_view target)
{
    return formBody({{"q", q}, {"source", source}, {"target", target}, {"format", "text"}});
}

AccountAnswer readGoogleCloudAnswer(const HttpReply &reply, std::string_view key)
{
    const JsonAnswer answer = readJsonAnswer(reply, "google");
    if (answer.failure)
        return {*answer.failure, {}};
    const QJsonObject object = answer.document->object();
    if (reply.status != 200 || object.contains(u"error")) {
        const QJsonObject error = object.value(u"error").toObject();
        const int code = error.value(u"code").toInt(reply.status);
        std::string reason = "google refused (" + std::to_string(code) + ")";
        const QString message = error.value(u"message").toString();
        if (!message.isEmpty())
            reason += ": " + safeReason(message.toStdString(), {key});
        // A quota or rate exhausted for now comes as 403 (dailyLimitExceeded,
        // userRateLimitExceeded) or 429.
        bool limited = error.value(u"status").toString() == u"RESOURCE_EXHAUSTED";
        for (const QJsonValue &entry : error.value(u"errors").toArray())
            limited =
                limited || entry.toObject().value(u"reason").toString().endsWith(u"LimitExceeded");
        std::optional<Reach> reach;
        if (code == 403 && (limited || message.contains(u"Limit Exceeded", Qt::CaseInsensitive) ||
                            message.contains(u"quota", Qt::CaseInsensitive)))
            reach = Reach::Exhausted;
        else if (code == 401 || code == 403 || message.contains(u"API key not valid"))
            reach = Reach::Refused;
        return {limited || code == 429 || code >= 500 || reply.status == 429 || reply.status >= 500
                    ? Translation::noAnswer(reason)
                : reach ? Translation::badAnswer(reason)
                        : Translation::refusedRequest(reason),
                reach};
    }
    const QJsonArray translations =
        object.value(u"data").toObject().value(u"translations").toArray();
    const QJsonValue text = translations.isEmpty()
                                ? QJsonValue()
                                : translations.first().toObject().value(u"translatedText");
    if (!text.isString())
        return {Translation::badAnswer("google: the answer has no translatedText"), {}};
    return {Translation::translated(text.toString().toStdString()), Reach::Known};
}

GoogleCloudBackend::GoogleCloudBackend(ServiceEndpoint endpoint, std::string key, size_t pieceLimit)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_key(std::move(key)), m_pieceLimit(pieceLimit)
{
}

Offer GoogleCloudBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && googleCloudLanguage(pair.from) && googleCloudLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation GoogleCloudBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                          Clock::time_point deadline) const
{
    const auto source = googleCloudLanguage(pair.from);
    const auto target = googleCloudLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("google: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, m_pieceLimit, TextMeasure::CodePoints);
    const std::string path = m_path + "?key=" + percentEncoded(m_key);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        const HttpCall call{"POST", path, googleCloudForm(core, *source, *target),
                            "application/x-www-form-urlencoded"};
        return m_reach.note(readGoogleCloudAnswer(m_connections.call(call, deadline), m_key));
    });
}

} // namespace mirel::siteserver
