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
    int status; // 503: for now (rate, balance, the service); 502: the request or account
    std::string_view reason;
    std::optional<Reach> reach; // how the account stands after it, when it tells
};

constexpr Refusal kRefusals[] = {
    {"101", 502, "a required field is missing", {}},
    {"102", 502, "language not supported", {}},
    {"103", 502, "text too long", {}},
    {"108", 502, "app key not valid (check youdao-app-key)", Reach::Refused},
    {"110", 502, "no valid instance for the service", Reach::Refused},
    {"111", 502, "developer account not valid", Reach::Refused},
    {"113", 502, "empty text", {}},
    {"202", 502, "signature refused (check youdao-app-secret)", Reach::Refused},
    {"206", 502, "signature refused: the time is not valid (check the clock)", {}},
    {"207", 502, "repeated request", {}},
    {"301", 503, "dictionary lookup failed at the service", {}},
    {"302", 503, "translation failed at the service", {}},
    {"303", 503, "other fault at the service", {}},
    {"401", 503, "account overdue", Reach::Exhausted},
    {"411", 503, "rate limited", {}},
    {"412", 503, "long texts sent too often", {}},
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
                     {"curtime", curtime},
                     {"strict", "true"}});
}

AccountAnswer readYoudaoAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readJsonAnswer(reply, "youdao");
    if (answer.failure)
        return {*answer.failure, {}};
    const QJsonObject object = answer.document->object();
    const QJsonValue codeValue = object.value(u"errorCode");
    const std::string code = codeValue.isDouble() ? std::to_string(codeValue.toInt())
                                                  : codeValue.toString().toStdString();
    if (!code.empty() && code != "0") {
        for (const Refusal &r : kRefusals)
            if (r.code == code) {
                std::string reason = "youdao refused (" + code + "): ";
                reason += r.reason;
                return {r.status == 503 ? Translation::noAnswer(reason)
                        : r.reach       ? Translation::badAnswer(reason)
                                        : Translation::refusedRequest(reason),
                        r.reach};
            }
        return {
            Translation::badAnswer("youdao refused (" + safeReason(code.substr(0, 8), {}) + ")"),
            {}};
    }
    if (reply.status != 200) {
        const std::string reason = "youdao answered " + std::to_string(reply.status);
        return {reply.status >= 500 ? Translation::noAnswer(reason)
                                    : Translation::badAnswer(reason),
                {}};
    }
    const QJsonValue translation = object.value(u"translation");
    if (code.empty() || !translation.isArray() || translation.toArray().isEmpty())
        return {Translation::badAnswer("youdao: the answer has no translation"), {}};
    std::string text;
    for (const QJsonValue &line : translation.toArray()) {
        if (!line.isString())
            return {Translation::badAnswer("youdao: the translation is not text"), {}};
        if (!text.empty())
            text += '\n';
        text += line.toString().toStdString();
    }
    return {Translation::translated(std::move(text)), Reach::Known};
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
        return m_reach.note(readYoudaoAnswer(m_connections.call(call, deadline)));
    });
}

} // namespace mirel::siteserver
