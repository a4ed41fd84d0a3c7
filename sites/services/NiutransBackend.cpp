#include "sites/services/NiutransBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"
#include "sites/http/FormEncoding.h"
#include "sites/languages/LanguageTable.h"

#include <QJsonObject>

namespace mirel::siteserver {
namespace {

constexpr CodeFault kFaults[] = {
    {"10000", Fault::Wrong, "the text is empty"},
    {"10001", Fault::Later, "rate limited"},
    {"10003", Fault::Wrong, "text too long"},
    {"10005", Fault::Wrong, "the text's encoding was refused"},
    {"13001", Fault::Later, "characters used up or no access"},
    {"13002", Fault::Key, "key refused (check niutrans-key)"},
    {"13003", Fault::Wrong, "content filtered"},
    {"13007", Fault::Wrong, "language not supported"},
    {"13008", Fault::Later, "request timed out at the service"},
    {"14001", Fault::Later, "sentence splitting failed at the service"},
    {"14002", Fault::Later, "word splitting failed at the service"},
    {"14003", Fault::Later, "post-processing failed at the service"},
    {"14004", Fault::Later, "alignment failed at the service"},
    {"000000", Fault::Wrong, "a parameter was refused"},
    {"000001", Fault::Wrong, "content type refused"},
};

std::string codeOf(const QJsonValue &code)
{
    if (code.isDouble())
        return std::to_string(code.toInteger());
    return code.toString().toStdString();
}

} // namespace

std::optional<std::string> niutransLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::niutrans, language);
}

std::string niutransForm(std::string_view text, std::string_view from, std::string_view to,
                         std::string_view key)
{
    return formBody({{"from", from}, {"to", to}, {"apikey", key}, {"src_text", text}});
}

ServiceAnswer readNiutransAnswer(const HttpReply &reply, std::string_view key)
{
    const JsonAnswer json = readJsonAnswer(reply, "niutrans");
    if (json.failure)
        return unreadable(reply, *json.failure);
    const QJsonObject object = json.document->object();
    std::string code = codeOf(object.value(u"error_code"));
    QString message = object.value(u"error_msg").toString();
    if (code.empty()) {
        code = codeOf(object.value(u"result_code"));
        message = object.value(u"result_msg").toString();
    }
    if (!code.empty()) {
        const CodeFault *row = findFault(kFaults, code);
        const Fault fault = row                                          ? row->fault
                            : reply.status >= 500 || reply.status == 429 ? Fault::Later
                                                                         : Fault::Wrong;
        return refusedWith("niutrans", code, fault, row ? row->reason : message.toStdString(),
                           {key});
    }
    if (reply.status >= 500 || reply.status == 429)
        return {Translation::noAnswer("niutrans answered " + std::to_string(reply.status))};
    if (reply.status != 200)
        return {Translation::badAnswer("niutrans answered " + std::to_string(reply.status))};
    const QJsonValue text = object.value(u"tgt_text");
    if (!text.isString())
        return {Translation::badAnswer("niutrans: the answer has no tgt_text")};
    return {Translation::translated(text.toString().toStdString())};
}

NiutransBackend::NiutransBackend(ServiceEndpoint endpoint, std::string key)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_key(std::move(key))
{
}

Offer NiutransBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && niutransLanguage(pair.from) && niutransLanguage(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation NiutransBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point deadline) const
{
    const auto from = niutransLanguage(pair.from);
    const auto to = niutransLanguage(pair.to);
    if (!from || !to || *from == *to)
        return Translation::badAnswer("niutrans: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, DefaultPieceLimit, TextMeasure::Utf16Units);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        const HttpCall call{"POST", m_path, niutransForm(core, *from, *to, m_key),
                            "application/x-www-form-urlencoded"};
        return m_standing.note(readNiutransAnswer(m_connections.call(call, deadline), m_key));
    });
}

} // namespace mirel::siteserver
