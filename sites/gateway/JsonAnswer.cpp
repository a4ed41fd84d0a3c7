#include "sites/gateway/JsonAnswer.h"

#include <QJsonParseError>

namespace mirel::siteserver {

JsonAnswer readJsonAnswer(const HttpReply &reply, std::string_view backend)
{
    const std::string who(backend);
    switch (reply.failure) {
    case HttpReply::Failure::None:
        break;
    case HttpReply::Failure::TooLarge:
        return {std::nullopt, Translation::badAnswer(who + ": " + reply.detail)};
    case HttpReply::Failure::TimedOut:
    case HttpReply::Failure::Unreachable:
        return {std::nullopt, Translation::noAnswer(who + " not available: " + reply.detail)};
    }
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(reply.body.data(), qsizetype(reply.body.size())), &error);
    if (error.error != QJsonParseError::NoError || document.isNull()) {
        if (reply.status >= 500)
            return {std::nullopt,
                    Translation::badAnswer(who + " answered " + std::to_string(reply.status))};
        return {std::nullopt, Translation::badAnswer(who + " answered malformed JSON (status " +
                                                     std::to_string(reply.status) + ")")};
    }
    return {std::move(document), std::nullopt};
}

} // namespace mirel::siteserver
