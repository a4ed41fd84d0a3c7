#pragma once

#include "sites/keyless/KeylessBackend.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Google's web endpoint's code for a language ("zh-CN", "zh-TW", "iw", …), or nothing.
std::optional<std::string> googleWebLanguage(std::string_view language);

// The request for one piece: a GET with the text in the query (client=gtx, sl, tl, dt=t,
// q) while the encoded text is at most longestQuery bytes, else a POST of the same query
// without q and the text as the form field q.
HttpCall googleWebCall(std::string_view path, std::string_view text, std::string_view source,
                       std::string_view target, size_t longestQuery);

// The translation in an answer: a nested array whose first element holds one row per
// sentence, [translated, original, …]; the rows' translated parts joined exactly as given.
Translation readGoogleWebAnswer(const HttpReply &reply);

// Google's keyless web endpoint (translate_a/single, client=gtx) behind the gateway.
class GoogleWebBackend : public KeylessBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://translate.googleapis.com/translate_a/single";
    static constexpr size_t DefaultPieceLimit = 5000;
    static constexpr size_t LongestQuery = 1500; // encoded bytes of q in a GET
    static constexpr std::chrono::milliseconds DefaultPace{300};

    explicit GoogleWebBackend(ServiceEndpoint endpoint, size_t pieceLimit = DefaultPieceLimit,
                              std::chrono::milliseconds pace = DefaultPace);

    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;
};

} // namespace mirel::siteserver
