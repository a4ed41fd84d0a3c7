#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/BoundedHttp.h"
#include "sites/http/PairList.h"

#include <string>

namespace mirel::siteserver {

// Where DeepL's translate endpoint is: the address given, else the free API's host for
// a key ending in ":fx", else the paid API's.
std::string deeplTranslateUrl(std::string_view key, std::string_view configured);
// The language list's path beside a translate endpoint's path: "/v2/translate" ->
// "/v2/languages" (a proxy's prefix is kept), anything else -> "/v2/languages".
std::string deeplLanguagesPath(std::string_view translatePath);

// Whether DeepL offers a language (its code, a regional variant too) in beta only: a
// request with it as source or target needs enable_beta_languages.
bool deeplBetaLanguage(std::string_view code);

// DeepL's API (v2). Its languages are read in the background from /v2/languages (source
// and target lists); until they are known, offers() is NotKnownYet. A passage goes line
// by line as a list of texts, in requests within DeepL's size limit, so that its lines
// come back as they were sent. The key goes in the Authorization header only.
class DeepLBackend : public TranslationBackend
{
public:
    static constexpr size_t MaxRequestBody = 128 * 1024;
    static constexpr size_t MaxTextsPerRequest = 50;
    static constexpr size_t MaxPieceBytes = 30 * 1024;

    // Throws std::invalid_argument for an unusable address.
    DeepLBackend(std::string key, std::string_view configuredUrl, PairList::Timing timing = {},
                 PairList::Log log = {});

    std::string name() const override { return "deepl"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "deepl", deadline);
    }
    void stop() override

    {

        m_connections.close();

        m_list.stop();
    }
    Offer offers(const LanguagePair &pair) const override;
    bool waitListKnown(Clock::time_point until) const override { return m_list.waitKnown(until); }
    // A refused key or a spent quota as the last translation found it, else the list's state.
    Reach reach() const override
    {
        if (const Reach account = m_reach.get(); account != Reach::Known)
            return account;
        if (m_list.pairs())
            return Reach::Known;
        return m_list.lastError().find("refused") != std::string::npos ? Reach::Refused
                                                                       : Reach::NotYet;
    }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

    // DeepL's codes (source, target) for a pair it translates, nothing otherwise.
    std::optional<std::pair<std::string, std::string>> codes(const LanguagePair &pair) const;
    // Waits until the language list is read or the time is up; true when read.
    bool waitForLanguages(Clock::time_point until) const { return m_list.waitKnown(until); }
    // Why the language list could not be read ("" once it was).
    std::string listError() const { return m_list.lastError(); }

private:
    PairList::Load loadLanguages(Clock::time_point deadline) const;
    Translation translateBatch(const std::vector<std::string_view> &texts,
                               const std::pair<std::string, std::string> &codes,
                               std::vector<std::string> &into, Clock::time_point deadline) const;
    std::vector<std::pair<std::string, std::string>> authorization() const;

    std::string m_key;
    std::string m_translatePath;
    std::string m_languagesPath;
    HttpConnections m_connections;
    mutable ReachRecord m_reach;
    PairList m_list; // last: its reader stops before the rest goes
};

} // namespace mirel::siteserver
