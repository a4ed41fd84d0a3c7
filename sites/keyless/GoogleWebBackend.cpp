#include "sites/keyless/GoogleWebBackend.h"

#include "sites/http/FormEncoding.h"
#include "sites/keyless/KeylessAnswer.h"
#include "sites/keyless/KeylessPassage.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonArray>

namespace mirel::siteserver {

std::optional<std::string> googleWebLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::googleWeb, language);
}

HttpCall googleWebCall(std::string_view path, std::string_view text, std::string_view source,
                       std::string_view target, size_t longestQuery)
{
    std::string query = std::string(path) + "?client=gtx&sl=" + percentEncoded(source) +
                        "&tl=" + percentEncoded(target) + "&dt=t";
    const std::string q = percentEncoded(text);
    if (q.size() <= longestQuery)
        return {"GET", query + "&q=" + q, {}, {}};
    return {"POST", std::move(query), "q=" + q, "application/x-www-form-urlencoded"};
}

Translation readGoogleWebAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readKeylessAnswer(reply, "google-web");
    if (answer.failure)
        return *answer.failure;
    if (reply.status != 200)
        return Translation::badAnswer("google-web answered " + std::to_string(reply.status));
    const QJsonValue rows = answer.document->array().at(0);
    if (!answer.document->isArray() || !rows.isArray())
        return Translation::badAnswer("google-web: the answer has no sentences");
    std::string text;
    for (const QJsonValue &row : rows.toArray()) {
        const QJsonValue part = row.toArray().at(0);
        if (!row.isArray() || !(part.isString() || part.isNull()))
            return Translation::badAnswer("google-web: a sentence of the answer is malformed");
        text += part.toString().toStdString();
    }
    return Translation::translated(std::move(text));
}

GoogleWebBackend::GoogleWebBackend(ServiceEndpoint endpoint, size_t pieceLimit,
                                   std::chrono::milliseconds pace)
    : KeylessBackend("google-web", std::move(endpoint), pieceLimit, pace)
{
}

Offer GoogleWebBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && googleWebLanguage(pair.from) && googleWebLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation GoogleWebBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                        Clock::time_point deadline) const
{
    const auto source = googleWebLanguage(pair.from);
    const auto target = googleWebLanguage(pair.to);
    if (!source || !target || *source == *target)
        return Translation::badAnswer("google-web: no pair " + pair.from + " to " + pair.to);
    return translateKeyless(name(), utf8, {m_pieceLimit, TextMeasure::CodePoints}, m_pacer,
                            deadline, [&](std::string_view core) {
                                const HttpCall call =
                                    googleWebCall(m_path, core, *source, *target, LongestQuery);
                                return readGoogleWebAnswer(m_connections.call(call, deadline));
                            });
}

} // namespace mirel::siteserver
