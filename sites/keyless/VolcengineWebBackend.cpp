#include "sites/keyless/VolcengineWebBackend.h"

#include "sites/http/SafeReason.h"
#include "sites/keyless/KeylessAnswer.h"
#include "sites/keyless/KeylessPassage.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonObject>

namespace mirel::siteserver {
namespace {

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

std::optional<std::string> volcengineWebLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::volcengineWeb, language);
}

std::string volcengineWebBody(std::string_view text, std::string_view source,
                              std::string_view target)
{
    const QJsonObject request{{QStringLiteral("source_language"), qtext(source)},
                              {QStringLiteral("target_language"), qtext(target)},
                              {QStringLiteral("text"), qtext(text)}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString();
}

Translation readVolcengineWebAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readKeylessAnswer(reply, "volcengine-web");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    const QJsonObject base = object.value(u"base_resp").toObject();
    const int code = base.value(u"status_code").toInt(0);
    if (code != 0) {
        std::string reason = "volcengine-web refused (" + std::to_string(code) + ")";
        if (const QString message = base.value(u"status_message").toString(); !message.isEmpty())
            reason += ": " + safeReason(message.toStdString(), {});
        return Translation::badAnswer(reason);
    }
    if (reply.status != 200)
        return Translation::badAnswer("volcengine-web answered " + std::to_string(reply.status));
    const QJsonValue text = object.value(u"translation");
    if (!answer.document->isObject() || !text.isString())
        return Translation::badAnswer("volcengine-web: the answer has no translation");
    return Translation::translated(text.toString().toStdString());
}

VolcengineWebBackend::VolcengineWebBackend(ServiceEndpoint endpoint, size_t pieceLimit,
                                           std::chrono::milliseconds pace)
    : KeylessBackend("volcengine-web", std::move(endpoint), pieceLimit, pace)
{
}

Offer VolcengineWebBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && volcengineWebLanguage(pair.from) &&
                   volcengineWebLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation VolcengineWebBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                            Clock::time_point deadline) const
{
    const auto source = volcengineWebLanguage(pair.from);
    const auto target = volcengineWebLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("volcengine-web: no pair " + pair.from + " to " + pair.to);
    return translateKeyless(name(), utf8, {m_pieceLimit, TextMeasure::CodePoints}, m_pacer,
                            deadline, [&](std::string_view core) {
                                const HttpCall call{"POST", m_path,
                                                    volcengineWebBody(core, *source, *target),
                                                    "application/json"};
                                return readVolcengineWebAnswer(m_connections.call(call, deadline));
                            });
}

} // namespace mirel::siteserver
