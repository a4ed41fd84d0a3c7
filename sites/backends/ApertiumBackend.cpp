#include "sites/backends/ApertiumBackend.h"

#include "sites/backends/JsonAnswer.h"
#include "sites/server/DataFile.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

#include <vector>

namespace mirel::sites {
namespace {

std::string formValue(const std::string &text)
{
    return QUrl::toPercentEncoding(QByteArray::fromStdString(text)).toStdString();
}

std::string apyDetails(const QJsonObject &answer)
{
    const QString details = answer.value(u"responseDetails").toString();
    return details.isEmpty() ? std::string("no details") : details.left(120).toStdString();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string withoutDroppedWordBlanks(std::string_view source, std::string_view translation)
{
    const std::vector<std::string_view> from = splitAt(source, '\n');
    const std::vector<std::string_view> to = splitAt(translation, '\n');
    if (from.size() != to.size())
        return std::string(translation);
    std::string out;
    out.reserve(translation.size());
    for (size_t i = 0; i < to.size(); ++i) {
        std::string_view line = to[i];
        if (from[i].empty() || !isBlank(from[i].front()))
            while (!line.empty() && isBlank(line.front()))
                line.remove_prefix(1);
        if (i > 0)
            out += '\n';
        out += line;
    }
    return out;
}

ApertiumBackend::ApertiumBackend(ServiceAddress service, ServiceListTiming timing,
                                 ServiceList::Log log)
    : m_connections(std::move(service)),
      m_list(
          "apertium", [this](Clock::time_point deadline) { return loadPairs(deadline); }, timing,
          std::move(log))
{
    m_list.start();
}

ServiceList::Load ApertiumBackend::loadPairs(Clock::time_point deadline) const
{
    const HttpReply reply = m_connections.call({"GET", "/listPairs", {}, {}}, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "apertium");
    if (answer.failure)
        return {std::nullopt, answer.failure->reason};
    const QJsonValue list = answer.document->object().value(u"responseData");
    if (reply.status != 200 || !list.isArray())
        return {std::nullopt, "apertium: the pair list has no responseData array"};
    ServicePairs pairs;
    for (const QJsonValue &entry : list.toArray()) {
        const QString from = entry.toObject().value(u"sourceLanguage").toString();
        const QString to = entry.toObject().value(u"targetLanguage").toString();
        if (!from.isEmpty() && !to.isEmpty())
            pairs.emplace(from.toStdString(), to.toStdString());
    }
    return {std::move(pairs), {}};
}

std::optional<std::string> ApertiumBackend::langpair(const LanguagePair &pair) const
{
    const std::shared_ptr<const ServicePairs> known = pairs();
    if (!known || pair.from == pair.to)
        return std::nullopt;
    for (const std::string &from : apertiumCodes(pair.from))
        for (const std::string &to : apertiumCodes(pair.to))
            if (known->count({from, to}))
                return from + "|" + to;
    return std::nullopt;
}

Translation ApertiumBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point deadline) const
{
    const std::optional<std::string> codes = langpair(pair);
    if (!codes)
        return Translation::badAnswer("apertium: no pair " + pair.from + " to " + pair.to);
    const HttpCall call{"POST", "/translate",
                        "langpair=" + formValue(*codes) + "&markUnknown=no&q=" + formValue(utf8),
                        "application/x-www-form-urlencoded"};
    const HttpReply reply = m_connections.call(call, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "apertium");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    const QJsonValue text = object.value(u"responseData").toObject().value(u"translatedText");
    if (reply.status != 200 || object.value(u"responseStatus").toInt() != 200)
        return Translation::badAnswer("apertium answered " + std::to_string(reply.status) + ": " +
                                      apyDetails(object));
    if (!text.isString())
        return Translation::badAnswer("apertium: the answer has no translatedText");
    return Translation::translated(withoutDroppedWordBlanks(utf8, text.toString().toStdString()));
}

} // namespace mirel::sites
