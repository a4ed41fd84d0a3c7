#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/BoundedHttp.h"

#include <optional>
#include <string>

namespace mirel::siteserver {

// What a chat model answered, made into the translation: a leading reasoning block
// (<think>…</think>, or reasoning closed by </think> whose opening tag was in the prompt)
// and the blanks around the text dropped. Nothing when no text is left (a reasoning block
// that never closes, an empty answer).
std::optional<std::string> modelText(std::string_view content);

// The system instruction for one pair, the languages named in English.
std::string translationInstruction(std::string_view from, std::string_view to);

// How the model is asked: a temperature only when one is set (reasoning models refuse any
// but their own), and pieces small enough for a local model's context.
struct OpenAiTuning
{
    static constexpr size_t DefaultPieceBytes = 1500;
    static constexpr size_t LeastPieceBytes = 200;
    std::optional<double> temperature;
    size_t pieceBytes = DefaultPieceBytes;
};

// The tuning from the settings openai-temperature (0 to 2) and openai-piece-bytes (at
// least LeastPieceBytes); throws std::invalid_argument naming the setting for another value.
OpenAiTuning openAiTuning(const std::optional<std::string> &temperature,
                          const std::optional<std::string> &pieceBytes);

// An OpenAI-compatible chat endpoint (OpenAI, a local Ollama or llama.cpp server, vLLM):
// POST <base>/chat/completions with the model and no streaming; a passage in pieces of at
// most tuning.pieceBytes, cut at line and sentence ends. An answer cut at the model's
// token limit is a failure. The key, when there is one, goes in an Authorization: Bearer
// header.
// It offers every pair of two different languages the server knows. A model may be slow:
// each request ends a little before the deadline (ReserveForNext) so that a timed-out
// passage still leaves the next backend time to answer.
class OpenAiBackend : public TranslationBackend
{
public:
    static constexpr std::chrono::milliseconds ReserveForNext{2000};

    // base: the address including /v1. Throws std::invalid_argument for an unusable one.
    OpenAiBackend(std::string_view base, std::string model, std::string key,
                  OpenAiTuning tuning = {});

    std::string name() const override { return "openai"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "openai", deadline);
    }
    bool takesTimeLeft() const override { return true; }
    void stop() override { m_connections.close(); }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override { return m_reach.get(); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Translation translatePiece(std::string_view text, const std::string &instruction,
                               Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_model;
    std::string m_key;
    OpenAiTuning m_tuning;
    mutable ReachRecord m_reach;
};

} // namespace mirel::siteserver
