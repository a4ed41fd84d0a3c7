#pragma once

#include "sites/keyless/KeylessBackend.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// Volcengine's code for a language ("zh", "zh-Hant", "he", …), or nothing.
std::optional<std::string> volcengineWebLanguage(std::string_view language);

// The JSON body of one request: {"source_language", "target_language", "text"}.
std::string volcengineWebBody(std::string_view text, std::string_view source,
                              std::string_view target);

// The translation in an answer ({"translation", "detected_language", "base_resp":
// {"status_code", "status_message"}}), or the failure: a status_code other than 0 with
// its message.
Translation readVolcengineWebAnswer(const HttpReply &reply);

// Volcengine's keyless browser-extension endpoint (translate.volcengine.com/crx/translate/v1/)
// behind the gateway.
class VolcengineWebBackend : public KeylessBackend
{
public:
    static constexpr std::string_view DefaultAddress =
        "https://translate.volcengine.com/crx/translate/v1/";
    static constexpr size_t DefaultPieceLimit = 2000;
    static constexpr std::chrono::milliseconds DefaultPace{300};

    explicit VolcengineWebBackend(ServiceEndpoint endpoint, size_t pieceLimit = DefaultPieceLimit,
                                  std::chrono::milliseconds pace = DefaultPace);

    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;
};

} // namespace mirel::siteserver
