#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/BoundedHttp.h"

#include <string>

namespace mirel::siteserver {

// What a chat model answered, made into the translation: a leading reasoning block
// (<think>…</think>) and the blanks around the text dropped. Nothing when no text is
// left (a reasoning block that never closes, an empty answer).
std::optional<std::string> modelText(std::string_view content);

// The system instruction for one pair, the languages named in English.
std::string translationInstruction(std::string_view from, std::string_view to);

// An OpenAI-compatible chat endpoint (OpenAI, a local Ollama or llama.cpp server, vLLM):
// POST <base>/chat/completions with the model, temperature 0 and no streaming; one
// request per passage, cut at line and sentence ends only when it is longer than
// MaxRequestBytes. The key, when there is one, goes in an Authorization: Bearer header.
// It offers every pair of two different languages the server knows. A model may be slow:
// each request ends a little before the deadline (ReserveForNext) so that a timed-out
// passage still leaves the next backend time to answer.
class OpenAiBackend : public TranslationBackend
{
public:
    static constexpr size_t MaxRequestBytes = 4000;
    static constexpr std::chrono::milliseconds ReserveForNext{2000};

    // base: the address including /v1. Throws std::invalid_argument for an unusable one.
    OpenAiBackend(std::string_view base, std::string model, std::string key);

    std::string name() const override { return "openai"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "openai", deadline);
    }
    bool takesTimeLeft() const override { return true; }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Translation translatePiece(std::string_view text, const std::string &instruction,
                               Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_model;
    std::string m_key;
};

} // namespace mirel::siteserver
