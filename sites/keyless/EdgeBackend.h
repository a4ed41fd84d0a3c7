#pragma once

#include "sites/keyless/KeylessBackend.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Microsoft's code for a language ("zh-Hans", "zh-Hant", "he", "nb", …), or nothing.
std::optional<std::string> edgeLanguage(std::string_view language);

// The request for one piece: a POST to path?from=…&to=…&isEnterpriseClient=false of a
// JSON array holding the text.
HttpCall edgeCall(std::string_view path, std::string_view text, std::string_view source,
                  std::string_view target);

// The translation in an answer of the Translator v3 shape, [{"translations": [{"text",
// "to"}]}], or the failure: its error ({"error": {"code", "message"}}) with its message;
// a rate or service error (429xxx, 5xxxxx) is 503, another 502.
Translation readEdgeAnswer(const HttpReply &reply);

// Microsoft Edge's keyless translator (edge.microsoft.com/translate/translatetext), with
// no token, behind the gateway.
class EdgeBackend : public KeylessBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://edge.microsoft.com/translate/translatetext";
    static constexpr size_t DefaultPieceLimit = 5000; // UTF-16 units, as Microsoft counts
    static constexpr std::chrono::milliseconds DefaultPace{200};

    explicit EdgeBackend(ServiceEndpoint endpoint, size_t pieceLimit = DefaultPieceLimit,
                         std::chrono::milliseconds pace = DefaultPace);

    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;
};

} // namespace mirel::siteserver
