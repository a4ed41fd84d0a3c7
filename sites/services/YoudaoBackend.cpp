#include "sites/services/YoudaoBackend.h"
#include "sites/http/FormEncoding.h"
#include "sites/http/SafeReason.h"
#include "sites/languages/LanguageTable.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <array>

namespace mirel::siteserver {
namespace {

struct Refusal
{
    std::string_view code;
    int status; // 503: for now (rate, balance); 502: the request or account is wrong
    std::string_view reason;
    Translation::Fault fault;
};

constexpr Refusal kRefusals[] = {
    {"101", 502, "a required field is missing", Translation::Fault::Request},
    {"102", 502, "language not supported", Translation::Fault::Request},
    {"103", 502, "text too long", Translation::Fault::Request},
    {"108", 502, "app key not valid (check youdao-app-key)", Translation::Fault::Key},
    {"110", 502, "no valid instance for the service", Translation::Fault::Key},
    {"111", 502, "developer account not valid", Translation::Fault::Key},
    {"113", 502, "empty text", Translation::Fault::Request},
    {"202", 502, "signature refused (check youdao-app-secret)", Translation::Fault::Key},
    {"206", 502, "signature refused: the time is not valid (check the clock)",
     Translation::Fault::Request},
    {"207", 502, "repeated request", Translation::Fault::Request},
    {"401", 503, "account overdue", Translation::Fault::Key},
    {"411", 503, "rate limited", Translation::Fault::Service},
    {"412", 503, "long texts sent too often", Translation::Fault::Service},
};

} // namespace

std::optional<std::string> youdaoLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::youdao, language);
}

std::string youdaoSignInput(std::string_view q)
{
    const QString text = QString::fromUtf8(q.data(), qsizetype(q.size()));
    const qsizetype length = text.size();
    if (length <= 20)
        return std::string(q);
    // A character above U+FFFF cut in half leaves a lone surrogate, which Java writes as "?".
    QString head = text.left(10);
    QString tail = text.right(10);
    if (head.back().isHighSurrogate())
        head.back() = u'?';
    if (tail.front().isLowSurrogate())
        tail.front() = u'?';
    const QString input = head + QString::number(length) + tail;
    return input.toStdString();
}

std::string youdaoSign(const YoudaoAccount &account, std::string_view q, std::string_view salt,
                       std::string_view curtime)
{
    const std::string text = account.appKey + youdaoSignInput(q) + std::string(salt) +
                             std::string(curtime) + account.appSecret;
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string youdaoForm(const YoudaoAccount &account, std::string_view q, std::string_view from,
                       std::string_view to, std::string_view salt, std::string_view curtime)
{
    const std::string sign = youdaoSign(account, q, salt, curtime);
    return formBody({{"q", q},
                     {"from", from},
                     {"to", to},
                     {"appKey", account.appKey},
                     {"salt", salt},
                     {"sign", sign},
                     {"signType", "v3"},
                     {"curtime", curtime}});
}

Translation readYoudaoAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readJsonAnswer(reply, "youdao");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    const QJsonValue codeValue = object.value(u"errorCode");
    const std::string code = codeValue.isDouble() ? std::to_string(codeValue.toInt())
                                                  : codeValue.toString().toStdString();
    if (!code.empty() && code != "0") {
        for (const Refusal &r : kRefusals)
            if (r.code == code) {
                std::string reason = "youdao refused (" + code + "): ";
                reason += r.reason;
                Translation failed = r.status == 503 ? Translation::noAnswer(reason)
                                                     : Translation::badAnswer(reason);
                failed.fault = r.fault;
                return failed;
            }
        return Translation::badAnswer("youdao refused (" + safeReason(code.substr(0, 8), {}) + ")");
    }
    if (reply.status != 200)
        return Translation::badAnswer("youdao answered " + std::to_string(reply.status));
    const QJsonValue translation = object.value(u"translation");
    if (code.empty() || !translation.isArray() || translation.toArray().isEmpty())
        return Translation::badAnswer("youdao: the answer has no translation");
    std::string text;
    for (const QJsonValue &line : translation.toArray()) {
        if (!line.isString())
            return Translation::badAnswer("youdao: the translation is not text");
        if (!text.empty())
            text += '\n';
        text += line.toString().toStdString();
    }
    return Translation::translated(std::move(text));
}

YoudaoBackend::YoudaoBackend(ServiceEndpoint endpoint, YoudaoAccount account, size_t pieceLimit)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_account(std::move(account)), m_pieceLimit(pieceLimit)
{
}

Offer YoudaoBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && youdaoLanguage(pair.from) && youdaoLanguage(pair.to) ? Offer::Yes
                                                                                        : Offer::No;
}

Translation YoudaoBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                     Clock::time_point deadline) const
{
    const auto from = youdaoLanguage(pair.from);
    const auto to = youdaoLanguage(pair.to);
    if (!from || !to || *from == *to)
        return Translation::badAnswer("youdao: no pair " + pair.from + " to " + pair.to);
    const auto pieces = splitPassage(utf8, m_pieceLimit, TextMeasure::Utf16Units);
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        const std::string salt = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        const std::string curtime =
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count());
        const HttpCall call{"POST", m_path, youdaoForm(m_account, core, *from, *to, salt, curtime),
                            "application/x-www-form-urlencoded"};
        return readYoudaoAnswer(m_connections.call(call, deadline));
    });
}

} // namespace mirel::siteserver
