#include "sites/services/BaiduBackend.h"
#include "sites/http/FormEncoding.h"
#include "sites/languages/LanguageTable.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/gateway/PieceTranslation.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>

#include <array>
#include <stdexcept>
#include <thread>

namespace mirel::siteserver {
namespace {

// A call is not begun with less time than this left.
constexpr auto kShortestCall = std::chrono::milliseconds(500);

struct Refusal
{
    int code;
    int status; // 503: for now (time, rate, balance); 502: the request or account is wrong
    std::string_view reason;
    std::optional<Reach> reach; // how the account stands after it, when it tells
};

constexpr Refusal kRefusals[] = {
    {52001, 503, "request timed out at the service", {}},
    {52002, 503, "system error at the service", {}},
    {52003, 502, "app id not authorized (check baidu-app-id and the service)", Reach::Refused},
    {54000, 502, "a required field is empty", {}},
    {54001, 502, "signature refused (check baidu-key)", Reach::Refused},
    {54003, 503, "rate limited", {}},
    {54004, 503, "account balance exhausted", Reach::Exhausted},
    {54005, 503, "long texts sent too often", {}},
    {58000, 502, "client address not allowed", Reach::Refused},
    {58001, 502, "language direction not supported", {}},
    {58002, 502, "service turned off", Reach::Refused},
    {90107, 502, "certification not passed or not in effect", Reach::Refused},
};

int errorCode(const QJsonValue &value)
{
    if (value.isDouble())
        return value.toInt();
    return value.toString().toInt();
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

} // namespace

std::optional<std::string> baiduLanguage(std::string_view language)
{
    return codeIn(&LanguageEntry::baidu, language);
}

std::string baiduSign(const BaiduAccount &account, std::string_view q, std::string_view salt)
{
    const std::string text = account.appId + std::string(q) + std::string(salt) + account.key;
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

std::string baiduForm(const BaiduAccount &account, std::string_view q, std::string_view from,
                      std::string_view to, std::string_view salt)
{
    const std::string sign = baiduSign(account, q, salt);
    return formBody({{"q", q},
                     {"from", from},
                     {"to", to},
                     {"appid", account.appId},
                     {"salt", salt},
                     {"sign", sign}});
}

BaiduLines readBaiduAnswer(const HttpReply &reply)
{
    const JsonAnswer answer = readJsonAnswer(reply, "baidu");
    if (answer.failure)
        return {{}, answer.failure};
    const QJsonObject object = answer.document->object();
    if (object.contains(u"error_code")) {
        const int code = errorCode(object.value(u"error_code"));
        if (code != 52000) {
            for (const Refusal &r : kRefusals)
                if (r.code == code) {
                    std::string reason = "baidu refused (" + std::to_string(code) + "): ";
                    reason += r.reason;
                    return {{},
                            r.status == 503 ? Translation::noAnswer(reason)
                            : r.reach       ? Translation::badAnswer(reason)
                                            : Translation::refusedRequest(reason),
                            code,
                            r.reach};
                }
            return {{},
                    Translation::badAnswer("baidu refused (" + std::to_string(code) + ")"),
                    code,
                    {}};
        }
    }
    if (reply.status != 200)
        return {{}, Translation::badAnswer("baidu answered " + std::to_string(reply.status))};
    const QJsonValue results = object.value(u"trans_result");
    if (!results.isArray())
        return {{}, Translation::badAnswer("baidu: the answer has no trans_result")};
    if (results.toArray().isEmpty())
        return {{}, Translation::badAnswer("baidu: the answer's trans_result is empty")};
    BaiduLines out;
    out.reach = Reach::Known;
    for (const QJsonValue &entry : results.toArray()) {
        const QJsonValue dst = entry.toObject().value(u"dst");
        if (!dst.isString())
            return {{}, Translation::badAnswer("baidu: a trans_result entry has no dst")};
        out.lines.push_back(dst.toString().toStdString());
    }
    return out;
}

BaiduQuery baiduQuery(std::string_view text)
{
    BaiduQuery query;
    for (const std::string_view line : lines(text)) {
        const std::string_view core = trimPiece(line).core;
        if (core.empty())
            continue;
        if (query.lines++)
            query.q += '\n';
        query.q += core;
    }
    return query;
}

std::string withBaiduLines(std::string_view text, const std::vector<std::string> &translated)
{
    std::string out;
    size_t next = 0;
    bool first = true;
    for (const std::string_view line : lines(text)) {
        if (!first)
            out += '\n';
        first = false;
        const TrimmedPiece piece = trimPiece(line);
        if (piece.core.empty() || next >= translated.size()) {
            out += line;
            continue;
        }
        out.append(piece.lead).append(translated[next++]).append(piece.trail);
    }
    return out;
}

BaiduLimits baiduLimits(std::string_view tier)
{
    if (tier.empty() || tier == "standard")
        return {BaiduBackend::DefaultPieceLimit, TextMeasure::Utf16Units,
                BaiduBackend::DefaultPace};
    if (tier == "advanced")
        return {6000, TextMeasure::Bytes, std::chrono::milliseconds(120)};
    throw std::invalid_argument("baidu-tier must be standard or advanced: " + std::string(tier));
}

BaiduBackend::BaiduBackend(ServiceEndpoint endpoint, BaiduAccount account, size_t pieceLimit,
                           std::chrono::milliseconds pace, TextMeasure measure)
    : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
      m_account(std::move(account)), m_pieceLimit(pieceLimit), m_measure(measure), m_pacer(pace)
{
}

Offer BaiduBackend::offers(const LanguagePair &pair) const
{
    return pair.from != pair.to && baiduLanguage(pair.from) && baiduLanguage(pair.to) ? Offer::Yes
                                                                                      : Offer::No;
}

Translation BaiduBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                    Clock::time_point deadline) const
{
    const auto from = baiduLanguage(pair.from);
    const auto to = baiduLanguage(pair.to);
    if (!from || !to || *from == *to)
        return Translation::badAnswer("baidu: no pair " + pair.from + " to " + pair.to);
    const std::vector<std::string_view> pieces = splitPassage(utf8, m_pieceLimit, m_measure);
    size_t calls = 0;
    for (const std::string_view piece : pieces)
        calls += trimPiece(piece).core.empty() ? 0 : 1;
    // Every piece waits its turn: when the last one's would come too late, ask nothing.
    const auto lastTurn = m_pacer.nextFree() +
                          m_pacer.interval() * static_cast<Clock::rep>(calls > 0 ? calls - 1 : 0);
    if (calls > 1 && lastTurn > deadline - kShortestCall)
        return Translation::noAnswer("baidu: the passage needs " + std::to_string(calls) +
                                     " requests, more than its rate allows in the time left");
    return translatePieces(pieces, [&](std::string_view core, size_t) {
        return translatePiece(core, *from, *to, deadline);
    });
}

Translation BaiduBackend::translatePiece(std::string_view text, const std::string &from,
                                         const std::string &to, Clock::time_point deadline) const
{
    const BaiduQuery query = baiduQuery(text);
    BaiduLines answer;
    for (int attempt = 0;; ++attempt) {
        if (!m_pacer.waitTurn(deadline - kShortestCall))
            return Translation::outOfTurns("baidu: no time left for the next request at its rate");
        const std::string salt = std::to_string(QRandomGenerator::global()->bounded(1u << 30));
        const HttpCall call{"POST", m_path, baiduForm(m_account, query.q, from, to, salt),
                            "application/x-www-form-urlencoded"};
        answer = readBaiduAnswer(m_connections.call(call, deadline));
        if (answer.reach)
            m_reach.set(*answer.reach);
        // Refused for the rate: once more after a pause, when the time allows.
        constexpr int kRateLimited = 54003;
        if (answer.errorCode != kRateLimited || attempt > 0 ||
            Clock::now() + RateRetryPause > deadline - kShortestCall)
            break;
        std::this_thread::sleep_for(RateRetryPause);
    }
    if (answer.failure)
        return *answer.failure;
    if (answer.lines.size() != query.lines) {
        // Not one line for each line sent: keep every line of it, in order.
        std::string joined;
        for (size_t i = 0; i < answer.lines.size(); ++i)
            joined += (i ? "\n" : "") + answer.lines[i];
        return Translation::translated(std::move(joined));
    }
    return Translation::translated(withBaiduLines(text, answer.lines));
}

} // namespace mirel::siteserver
