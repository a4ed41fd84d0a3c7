#include "sites/services/LibreTranslateBackend.h"

#include "sites/http/SafeReason.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/languages/PassageSplit.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirel::siteserver {
namespace {

std::string errorText(const QJsonObject &object, std::string_view apiKey)
{
    return safeReason(object.value(u"error").toString().toStdString(), {apiKey});
}

} // namespace

LibreTranslateBackend::LibreTranslateBackend(ServiceAddress service, std::string apiKey,
                                             PairListTiming timing, PairList::Log log)
    : m_connections(std::move(service)), m_apiKey(std::move(apiKey)),
      m_list(
          "upstream", [this](Clock::time_point deadline) { return loadLanguages(deadline); },
          timing, std::move(log))
{
    m_list.start();
}

PairList::Load LibreTranslateBackend::loadLanguages(Clock::time_point deadline) const
{
    const HttpReply reply = m_connections.call({"GET", "/languages", {}, {}}, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "upstream");
    if (answer.failure)
        return {std::nullopt, answer.failure->reason};
    if (reply.status != 200 || !answer.document->isArray())
        return {std::nullopt, "upstream: /languages answered " + std::to_string(reply.status) +
                                  " without a language list"};
    std::set<std::string> all;
    for (const QJsonValue &entry : answer.document->array())
        if (const QString code = entry.toObject().value(u"code").toString(); !code.isEmpty())
            all.insert(code.toStdString());
    ServicePairs pairs;
    for (const QJsonValue &entry : answer.document->array()) {
        const QJsonObject language = entry.toObject();
        const std::string code = language.value(u"code").toString().toStdString();
        if (code.empty())
            continue;
        // Services that do not list targets translate between every pair they list.
        if (!language.contains(u"targets")) {
            for (const std::string &to : all)
                pairs.emplace(code, to);
            continue;
        }
        for (const QJsonValue &target : language.value(u"targets").toArray())
            pairs.emplace(code, target.toString().toStdString());
    }
    return {std::move(pairs), {}};
}

std::optional<std::pair<std::string, std::string>>
LibreTranslateBackend::codes(const LanguagePair &pair) const
{
    const std::shared_ptr<const ServicePairs> pairs = m_list.pairs();
    if (!pairs || pair.from == pair.to)
        return std::nullopt;
    for (const std::string &from : libreTranslateCodes(pair.from))
        for (const std::string &to : libreTranslateCodes(pair.to))
            if (to != from && pairs->count({from, to}))
                return std::pair{from, to};
    return std::nullopt;
}

Offer LibreTranslateBackend::offers(const LanguagePair &pair) const
{
    if (!m_list.pairs())
        return Offer::NotKnownYet;
    return codes(pair) ? Offer::Yes : Offer::No;
}

Reach LibreTranslateBackend::reach() const
{
    if (const Reach account = m_reach.get(); account != Reach::Known)
        return account;
    return m_list.pairs() ? Reach::Known : Reach::NotYet;
}

Translation LibreTranslateBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                             Clock::time_point deadline) const
{
    const auto found = codes(pair);
    if (!found && !m_list.pairs())
        return Translation::noAnswer("upstream not available: its language list is not read yet");
    if (!found)
        return Translation::badAnswer("upstream: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, PieceLimit, TextMeasure::CodePoints);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        return translatePiece(core, *found, deadline);
    });
}

Translation LibreTranslateBackend::translatePiece(std::string_view text,
                                                  const std::pair<std::string, std::string> &codes,
                                                  Clock::time_point deadline) const
{
    QJsonObject request{
        {QStringLiteral("q"), QString::fromUtf8(text.data(), qsizetype(text.size()))},
        {QStringLiteral("source"), QString::fromStdString(codes.first)},
        {QStringLiteral("target"), QString::fromStdString(codes.second)},
        {QStringLiteral("format"), QStringLiteral("text")}};
    if (!m_apiKey.empty())
        request.insert(QStringLiteral("api_key"), QString::fromStdString(m_apiKey));
    const HttpCall call{"POST", "/translate",
                        QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json"};
    const HttpReply reply = m_connections.call(call, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "upstream");
    // A service that stopped answering may come back with other languages.
    if (reply.failure == HttpReply::Failure::Unreachable)
        m_list.askAgain();
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    if (reply.status == 403) {
        // LibreTranslate refuses a wrong or missing key with 403.
        m_reach.set(Reach::Refused);
        return Translation::badAnswer("upstream refused the key or this address (403): " +
                                      errorText(object, m_apiKey));
    }
    if (reply.status != 200 || object.contains(u"error")) {
        // Too many requests, or the service's own fault: it may answer again soon.
        const std::string reason = "upstream answered " + std::to_string(reply.status) + ": " +
                                   errorText(object, m_apiKey);
        return reply.status == 429 || reply.status >= 500 ? Translation::noAnswer(reason)
                                                          : Translation::badAnswer(reason);
    }
    const QJsonValue translated = object.value(u"translatedText");
    if (!translated.isString())
        return Translation::badAnswer("upstream: the answer has no translatedText");
    m_reach.set(Reach::Known);
    return Translation::translated(translated.toString().toStdString());
}

} // namespace mirel::siteserver
