#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/RequestPacer.h"
#include "sites/http/ServiceEndpoint.h"
#include "sites/languages/PassageSplit.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

// Baidu's general text translation API (fanyi-api): an app id and its key.
struct BaiduAccount
{
    std::string appId;
    std::string key;
};

// Baidu's code for a language ("zh", "cht", "jp", "kor", …) among the common languages
// every account may use, or nothing.
std::optional<std::string> baiduLanguage(std::string_view language);

// The request's signature: MD5 of app id, text (as sent, before form encoding), salt and
// key, as 32 lowercase hex digits.
std::string baiduSign(const BaiduAccount &account, std::string_view q, std::string_view salt);

// The form of one request: q, from, to, appid, salt, sign.
std::string baiduForm(const BaiduAccount &account, std::string_view q, std::string_view from,
                      std::string_view to, std::string_view salt);

// The translated lines of an answer ("trans_result": one {src, dst} per line sent), or
// the failure: an error_code is refused with a short reason of our own words, an empty
// trans_result is no translation. reach: how the account stands after it, when the answer
// tells (a refused key, a spent balance, a success).
struct BaiduLines
{
    std::vector<std::string> lines;
    std::optional<Translation> failure;
    int errorCode = 0;
    std::optional<Reach> reach;
};
BaiduLines readBaiduAnswer(const HttpReply &reply);

// The text of one request with its line structure kept: Baidu answers one line per
// non-empty source line and drops the empty ones, so only those are sent, and the answer's
// lines go back in their places, with each line's indentation, blank lines and line
// breaks exactly as in the source.
struct BaiduQuery
{
    std::string q; // the non-blank lines without their surrounding blanks, joined with "\n"
    size_t lines = 0;
};
BaiduQuery baiduQuery(std::string_view text);
std::string withBaiduLines(std::string_view text, const std::vector<std::string> &translated);

// How much a Baidu account may ask: the pieces a request carries and the pause between
// requests, a fifth above the tier's rate, so that a late connection does not bring two
// requests into one of Baidu's seconds.
struct BaiduLimits
{
    size_t pieceLimit;
    TextMeasure measure;
    std::chrono::milliseconds pace;
};
// The limits of the setting baidu-tier: "standard" (or nothing: 1,000 characters, one
// request a second) or "advanced" (6,000 a request, within the API's 6,000 bytes; ten a
// second). Throws std::invalid_argument naming the setting for another value.
BaiduLimits baiduLimits(std::string_view tier);

// Baidu's general text translation behind the gateway. A long passage goes in pieces of
// at most pieceLimit, at most one request per pace interval, all within the request's
// deadline: a passage that would need longer fails at once with 503 and nothing sent. A
// request refused for the rate (54003) is asked once more a second later.
class BaiduBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://fanyi-api.baidu.com/api/trans/vip/translate";
    static constexpr size_t DefaultPieceLimit = 1000;
    static constexpr std::chrono::milliseconds DefaultPace{1200};
    static constexpr std::chrono::milliseconds RateRetryPause{1000};

    BaiduBackend(ServiceEndpoint endpoint, BaiduAccount account,
                 size_t pieceLimit = DefaultPieceLimit,
                 std::chrono::milliseconds pace = DefaultPace,
                 TextMeasure measure = TextMeasure::Utf16Units);

    std::string name() const override { return "baidu"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "baidu", deadline);
    }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override { return m_reach.get(); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Translation translatePiece(std::string_view text, const std::string &from,
                               const std::string &to, Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_path;
    BaiduAccount m_account;
    size_t m_pieceLimit;
    TextMeasure m_measure;
    mutable RequestPacer m_pacer;
    mutable ReachRecord m_reach;
};

} // namespace mirel::siteserver
