#include "sites/services/AzureBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/http/FormEncoding.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mirel::siteserver {
namespace {

Fault faultOf(int code, int status)
{
    if (code == 403001 || code / 1000 == 429 || code / 1000 >= 500 || code / 1000 == 408)
        return Fault::Later;
    if (code / 1000 == 401 || code / 1000 == 403)
        return Fault::Key;
    if (code == 0 && (status == 429 || status >= 500))
        return Fault::Later;
    if (code == 0 && (status == 401 || status == 403))
        return Fault::Key;
    return Fault::Wrong;
}

std::string_view reasonOf(int code)
{
    switch (code) {
    case 401000:
        return "key refused (check azure-key and azure-region)";
    case 401015:
        return "the key is not a Translator key";
    case 403000:
        return "the operation is not allowed for this key";
    case 403001:
        return "the free tier's characters are used up";
    case 400036:
        return "target language not supported";
    case 400035:
        return "source language not supported";
    case 400050:
        return "text too long";
    default:
        return {};
    }
}

} // namespace

std::optional<std::string> azureLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::azure, language);
}

std::string azurePath(std::string_view base, std::string_view from, std::string_view to)
{
    std::string path(base);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    if (!path.ends_with("/translate"))
        path += "/translate";
    return path + "?api-version=3.0&from=" + percentEncoded(from) + "&to=" + percentEncoded(to);
}

std::string azureBody(std::string_view text)
{
    const QJsonArray body{
        QJsonObject{{"Text", QString::fromUtf8(text.data(), qsizetype(text.size()))}}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
}

ServiceAnswer readAzureAnswer(const HttpReply &reply, const AzureAccount &account)
{
    const JsonAnswer json = readJsonAnswer(reply, "azure");
    if (json.failure)
        return unreadable(reply, *json.failure);
    const std::vector<std::string_view> secrets{account.key};
    if (json.document->isObject() || reply.status != 200) {
        const QJsonObject error = json.document->object().value(u"error").toObject();
        const int code = error.value(u"code").toInt(0);
        const std::string_view ours = reasonOf(code);
        const std::string message = error.value(u"message").toString().toStdString();
        return refusedWith("azure", code ? std::to_string(code) : std::to_string(reply.status),
                           faultOf(code, reply.status), ours.empty() ? message : ours, secrets);
    }
    const QJsonArray items = json.document->array();
    const QJsonArray translations =
        items.isEmpty() ? QJsonArray() : items.first().toObject().value(u"translations").toArray();
    const QJsonValue text =
        translations.isEmpty() ? QJsonValue() : translations.first().toObject().value(u"text");
    if (!text.isString())
        return {Translation::badAnswer("azure: the answer has no translations[0].text")};
    return {Translation::translated(text.toString().toStdString())};
}

AzureBackend::AzureBackend(ServiceEndpoint endpoint, AzureAccount account, size_t hourlyCharacters)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_account(std::move(account)), m_hour(hourlyCharacters, std::chrono::hours(1))
{
}

Offer AzureBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && azureLanguage(pair.from) && azureLanguage(pair.to) ? Offer::Yes
                                                                                      : Offer::No;
}

Translation AzureBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                    Clock::time_point deadline) const
{
    const auto from = azureLanguage(pair.from);
    const auto to = azureLanguage(pair.to);
    if (!from || !to || *from == *to)
        return Translation::badAnswer("azure: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, DefaultPieceLimit, TextMeasure::Utf16Units);
    const std::string path = azurePath(m_path, *from, *to);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        if (!m_hour.take(textSize(core, TextMeasure::Utf16Units)))
            return Translation::noAnswer(
                "azure: the hour's characters are used up (the free tier takes 2,000,000 an hour)");
        HttpCall call{"POST", path, azureBody(core), "application/json; charset=UTF-8"};
        call.headers.emplace_back("Ocp-Apim-Subscription-Key", m_account.key);
        if (!m_account.region.empty())
            call.headers.emplace_back("Ocp-Apim-Subscription-Region", m_account.region);
        return m_key.note(readAzureAnswer(m_connections.call(call, deadline), m_account));
    });
}

} // namespace mirel::siteserver
