#include "sites/keyless/EdgeBackend.h"

#include "sites/http/FormEncoding.h"
#include "sites/http/SafeReason.h"
#include "sites/keyless/KeylessAnswer.h"
#include "sites/keyless/KeylessPassage.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonArray>
#include <QJsonObject>

namespace mirel::siteserver {

std::optional<std::string> edgeLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::edge, language);
}

HttpCall edgeCall(std::string_view path, std::string_view text, std::string_view source,
                  std::string_view target)
{
    const QJsonArray texts{QString::fromUtf8(text.data(), qsizetype(text.size()))};
    return {"POST",
            std::string(path) + "?from=" + percentEncoded(source) +
                "&to=" + percentEncoded(target) + "&isEnterpriseClient=false",
            QJsonDocument(texts).toJson(QJsonDocument::Compact).toStdString(), "application/json"};
}

Translation readEdgeAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readKeylessAnswer(reply, "edge");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    if (reply.status != 200 || object.contains(u"error")) {
        const QJsonObject error = object.value(u"error").toObject();
        const int code = error.value(u"code").toInt(reply.status);
        std::string reason = "edge refused (" + std::to_string(code) + ")";
        if (const QString message = error.value(u"message").toString(); !message.isEmpty())
            reason += ": " + safeReason(message.toStdString(), {});
        const int kind = code >= 1000 ? code / 1000 : code;
        return kind == 429 || kind >= 500 ? Translation::noAnswer(reason)
                                          : Translation::badAnswer(reason);
    }
    const QJsonValue text = answer.document->array()
                                .at(0)
                                .toObject()
                                .value(u"translations")
                                .toArray()
                                .at(0)
                                .toObject()
                                .value(u"text");
    if (!answer.document->isArray() || !text.isString())
        return Translation::badAnswer("edge: the answer has no translations");
    return Translation::translated(text.toString().toStdString());
}

EdgeBackend::EdgeBackend(ServiceEndpoint endpoint, size_t pieceLimit,
                         std::chrono::milliseconds pace)
    : KeylessBackend("edge", std::move(endpoint), pieceLimit, pace)
{
}

Offer EdgeBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && edgeLanguage(pair.from) && edgeLanguage(pair.to) ? Offer::Yes
                                                                                    : Offer::No;
}

Translation EdgeBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                   Clock::time_point deadline) const
{
    const auto source = edgeLanguage(pair.from);
    const auto target = edgeLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("edge: no pair " + pair.from + " to " + pair.to);
    return translateKeyless(name(), utf8, {m_pieceLimit, TextMeasure::Utf16Units}, m_pacer,
                            deadline, [&](std::string_view core) {
                                return readEdgeAnswer(m_connections.call(
                                    edgeCall(m_path, core, *source, *target), deadline));
                            });
}

} // namespace mirel::siteserver
