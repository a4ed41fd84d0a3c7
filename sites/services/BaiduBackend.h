#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/RequestPacer.h"
#include "sites/http/ServiceEndpoint.h"

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
// the failure: an error_code is refused with a short reason of our own words.
struct BaiduLines
{
    std::vector<std::string> lines;
    std::optional<Translation> failure;
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

// Baidu's general text translation behind the gateway. A long passage goes in pieces of
// at most pieceLimit characters (the standard tier takes 1,000 a request; the API at most
// 6,000 bytes), at most one request per pace interval (the standard tier's one a second),
// all within the request's deadline: a passage that would need longer fails at once with
// 503 and nothing sent.
class BaiduBackend : public TranslationBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://fanyi-api.baidu.com/api/trans/vip/translate";
    static constexpr size_t DefaultPieceLimit = 1000;
    static constexpr std::chrono::milliseconds DefaultPace{1000};

    BaiduBackend(ServiceEndpoint endpoint, BaiduAccount account,
                 size_t pieceLimit = DefaultPieceLimit,
                 std::chrono::milliseconds pace = DefaultPace);

    std::string name() const override { return "baidu"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "baidu", deadline);
    }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Translation translatePiece(std::string_view text, const std::string &from,
                               const std::string &to, Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_path;
    BaiduAccount m_account;
    size_t m_pieceLimit;
    mutable RequestPacer m_pacer;
};

} // namespace mirel::siteserver
