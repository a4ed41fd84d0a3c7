#include "sites/services/OpenAiBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/http/SafeReason.h"
#include "sites/languages/LanguageCodes.h"
#include "sites/languages/PassageSplit.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace mirel::siteserver {
namespace {

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

ServiceAddress baseAddress(std::string_view base)
{
    const auto address = parseServiceAddress(base);
    if (!address)
        throw std::invalid_argument("OpenAI-compatible address must read http://host:port/v1: " +
                                    std::string(base));
    return *address;
}

QJsonValue errorValue(const std::string &body)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(body)).object().value(u"error");
}

// The error an OpenAI-compatible server gives: {"error": {"message": …}} (OpenAI,
// llama.cpp, Ollama's /v1) or {"error": "…"} (Ollama's own).
std::string errorMessage(const std::string &body)
{
    const QJsonValue error = errorValue(body);
    if (error.isString())
        return error.toString().toStdString();
    return error.toObject().value(u"message").toString().toStdString();
}

// OpenAI's code for an account whose credit is spent (with 429).
bool quotaSpent(const std::string &body)
{
    return errorValue(body).toObject().value(u"code").toString() == u"insufficient_quota";
}

// Line breaks as the source writes them: a model answers with \n.
std::string sourceLineBreaks(std::string text, std::string_view source)
{
    if (source.find("\r\n") == std::string_view::npos)
        return text;
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            crlf += '\r';
        crlf += text[i];
    }
    return crlf;
}

} // namespace

std::optional<std::string> modelText(std::string_view content)
{
    TrimmedPiece trimmed = trimPiece(content);
    constexpr std::string_view kOpen = "<think>";
    constexpr std::string_view kClose = "</think>";
    const size_t close = trimmed.core.find(kClose);
    const bool opened = trimmed.core.starts_with(kOpen);
    // Without its opening tag the block is the reasoning before the first </think>, as
    // long as no <think> comes before it (that one is text the model wrote).
    if (opened || (close != std::string_view::npos &&
                   trimmed.core.substr(0, close).find(kOpen) == std::string_view::npos)) {
        if (close == std::string_view::npos)
            return std::nullopt;
        trimmed = trimPiece(trimmed.core.substr(close + kClose.size()));
    }
    if (trimmed.core.empty())
        return std::nullopt;
    return std::string(trimmed.core);
}

std::string translationInstruction(std::string_view from, std::string_view to)
{
    const std::string source(englishLanguageName(from).value_or(from));
    const std::string target(englishLanguageName(to).value_or(to));
    return "You are a translation engine. Translate the user's text from " + source + " into " +
           target + ". Answer with the translation in " + target +
           " only: no explanations, notes, quotation marks or labels. Keep every line break "
           "and blank line where the text has one.";
}

OpenAiTuning openAiTuning(const std::optional<std::string> &temperature,
                          const std::optional<std::string> &pieceBytes)
{
    OpenAiTuning tuning;
    if (temperature && !temperature->empty()) {
        const QString text = QString::fromStdString(*temperature);
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || value < 0 || value > 2)
            throw std::invalid_argument("openai-temperature must be a number from 0 to 2: " +
                                        *temperature);
        tuning.temperature = value;
    }
    if (pieceBytes && !pieceBytes->empty()) {
        size_t value = 0;
        const char *end = pieceBytes->data() + pieceBytes->size();
        const auto [last, error] = std::from_chars(pieceBytes->data(), end, value);
        if (error != std::errc() || last != end || value < OpenAiTuning::LeastPieceBytes)
            throw std::invalid_argument("openai-piece-bytes must be a number of bytes, at least " +
                                        std::to_string(OpenAiTuning::LeastPieceBytes) + ": " +
                                        *pieceBytes);
        tuning.pieceBytes = value;
    }
    return tuning;
}

OpenAiBackend::OpenAiBackend(std::string_view base, std::string model, std::string key,
                             OpenAiTuning tuning)
    : m_connections(baseAddress(base), systemAddresses,
                    {std::chrono::milliseconds(3000), std::chrono::milliseconds::max()}),
      m_model(std::move(model)), m_key(std::move(key)), m_tuning(tuning)
{
}

Offer OpenAiBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && englishLanguageName(pair.from) && englishLanguageName(pair.to)
               ? Offer::Yes
               : Offer::No;
}

Translation OpenAiBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                     Clock::time_point deadline) const
{
    if (offers(pair) != Offer::Yes)
        return Translation::badAnswer("openai: no pair " + pair.from + " to " + pair.to);
    // The model's call ends early enough for the next backend to answer in its stead.
    const auto left = deadline - Clock::now();
    const Clock::time_point own = deadline - std::min<Clock::duration>(ReserveForNext, left / 5);
    const std::string instruction = translationInstruction(pair.from, pair.to);
    std::string result;
    for (const std::string_view piece :
         splitPassage(utf8, m_tuning.pieceBytes, TextMeasure::Bytes)) {
        const TrimmedPiece trimmed = trimPiece(piece);
        result += trimmed.lead;
        if (!trimmed.core.empty()) {
            Translation part = translatePiece(trimmed.core, instruction, own);
            if (part.outcome != Translation::Outcome::Translated)
                return part;
            result += sourceLineBreaks(std::move(part.text), trimmed.core);
        }
        result += trimmed.trail;
    }
    return Translation::translated(std::move(result));
}

Translation OpenAiBackend::translatePiece(std::string_view text, const std::string &instruction,
                                          Clock::time_point deadline) const
{
    const QJsonArray messages{QJsonObject{{QStringLiteral("role"), QStringLiteral("system")},
                                          {QStringLiteral("content"), qtext(instruction)}},
                              QJsonObject{{QStringLiteral("role"), QStringLiteral("user")},
                                          {QStringLiteral("content"), qtext(text)}}};
    QJsonObject request{{QStringLiteral("model"), qtext(m_model)},
                        {QStringLiteral("messages"), messages},
                        {QStringLiteral("stream"), false}};
    if (m_tuning.temperature)
        request.insert(QStringLiteral("temperature"), *m_tuning.temperature);
    HttpCall call{"POST",
                  "/chat/completions",
                  QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(),
                  "application/json",
                  {}};
    if (!m_key.empty())
        call.headers.emplace_back("Authorization", "Bearer " + m_key);
    const HttpReply reply = m_connections.call(call, deadline);
    if (reply.failure == HttpReply::Failure::None && reply.status != 200) {
        if (reply.status == 401 || reply.status == 403) {
            m_reach.set(Reach::Refused);
            return Translation::badAnswer("openai refused the key (" +
                                          std::to_string(reply.status) + ")");
        }
        if (reply.status == 429 && quotaSpent(reply.body))
            m_reach.set(Reach::Exhausted);
        const std::string reason = "openai answered " + std::to_string(reply.status) + ": " +
                                   safeReason(errorMessage(reply.body), {m_key});
        return reply.status >= 500 || reply.status == 429 ? Translation::noAnswer(reason)
                                                          : Translation::refusedRequest(reason);
    }
    const JsonAnswer answer = readJsonAnswer(reply, "openai");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject choice =
        answer.document->object().value(u"choices").toArray().at(0).toObject();
    const QJsonValue content = choice.value(u"message").toObject().value(u"content");
    if (!content.isString())
        return Translation::badAnswer("openai: the answer has no choices[0].message.content");
    // Cut at the model's token limit: only a part of the piece is translated.
    if (choice.value(u"finish_reason").toString() == u"length")
        return Translation::badAnswer("openai: the answer was cut at the model's token limit "
                                      "(finish_reason length); a smaller openai-piece-bytes helps");
    m_reach.set(Reach::Known);
    auto translated = modelText(content.toString().toStdString());
    if (!translated)
        return Translation::badAnswer("openai: the answer holds no translation");
    return Translation::translated(std::move(*translated));
}

} // namespace mirel::siteserver
