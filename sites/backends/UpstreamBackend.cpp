#include "sites/backends/UpstreamBackend.h"

#include "sites/backends/JsonAnswer.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirel::sites {
namespace {

constexpr auto kRetryPause = std::chrono::seconds(30);
constexpr auto kListLimit = std::chrono::seconds(5);

std::string errorText(const QJsonObject &object)
{
    const QString error = object.value(u"error").toString();
    return error.isEmpty() ? std::string("no details") : error.left(120).toStdString();
}

} // namespace

std::string UpstreamBackend::loadLanguages(Clock::time_point deadline) const
{
    {
        const std::lock_guard lock(m_mutex);
        m_lastTry = Clock::now();
    }
    const HttpReply reply = m_connections.call({"GET", "/languages", {}, {}}, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "upstream");
    if (answer.failure)
        return answer.failure->reason;
    if (reply.status != 200 || !answer.document->isArray())
        return "upstream: /languages answered " + std::to_string(reply.status) +
               " without a language list";
    std::map<std::string, std::set<std::string>> targets;
    std::set<std::string> all;
    for (const QJsonValue &entry : answer.document->array())
        if (const QString code = entry.toObject().value(u"code").toString(); !code.isEmpty())
            all.insert(code.toStdString());
    for (const QJsonValue &entry : answer.document->array()) {
        const QJsonObject language = entry.toObject();
        const std::string code = language.value(u"code").toString().toStdString();
        if (code.empty())
            continue;
        std::set<std::string> &to = targets[code];
        // Services that do not list targets translate between every pair they list.
        if (!language.contains(u"targets")) {
            to = all;
            continue;
        }
        for (const QJsonValue &target : language.value(u"targets").toArray())
            to.insert(target.toString().toStdString());
    }
    const std::lock_guard lock(m_mutex);
    m_targets = std::move(targets);
    m_loaded = true;
    return {};
}

void UpstreamBackend::reloadIfDue() const
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_loaded || Clock::now() - m_lastTry < kRetryPause)
            return;
    }
    loadLanguages(Clock::now() + kListLimit);
}

std::optional<std::pair<std::string, std::string>>
UpstreamBackend::codes(const LanguagePair &pair) const
{
    if (pair.from == pair.to)
        return std::nullopt;
    reloadIfDue();
    const std::lock_guard lock(m_mutex);
    for (const std::string &from : libreTranslateCodes(pair.from)) {
        const auto source = m_targets.find(from);
        if (source == m_targets.end())
            continue;
        for (const std::string &to : libreTranslateCodes(pair.to))
            if (to != from && source->second.count(to))
                return std::pair{from, to};
    }
    return std::nullopt;
}

Offer UpstreamBackend::offers(const LanguagePair &pair) const
{
    if (codes(pair))
        return Offer::Yes;
    const std::lock_guard lock(m_mutex);
    return m_loaded ? Offer::No : Offer::NotKnownYet;
}

Reach UpstreamBackend::reach() const
{
    const std::lock_guard lock(m_mutex);
    return m_loaded ? Reach::Known : Reach::NotYet;
}

Translation UpstreamBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point deadline) const
{
    const auto found = codes(pair);
    if (!found)
        return Translation::badAnswer("upstream: no pair " + pair.from + " to " + pair.to);
    QJsonObject request{{QStringLiteral("q"), QString::fromStdString(utf8)},
                        {QStringLiteral("source"), QString::fromStdString(found->first)},
                        {QStringLiteral("target"), QString::fromStdString(found->second)},
                        {QStringLiteral("format"), QStringLiteral("text")}};
    if (!m_apiKey.empty())
        request.insert(QStringLiteral("api_key"), QString::fromStdString(m_apiKey));
    const HttpCall call{"POST", "/translate",
                        QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json"};
    const HttpReply reply = m_connections.call(call, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "upstream");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    if (reply.status != 200 || object.contains(u"error"))
        return Translation::badAnswer("upstream answered " + std::to_string(reply.status) + ": " +
                                      errorText(object));
    const QJsonValue text = object.value(u"translatedText");
    if (!text.isString())
        return Translation::badAnswer("upstream: the answer has no translatedText");
    return Translation::translated(text.toString().toStdString());
}

} // namespace mirel::sites
