#pragma once

#include "sites/gateway/ReachRecord.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/BoundedHttp.h"
#include "sites/http/PairList.h"

namespace mirel::siteserver {

// A LibreTranslate-compatible service: its languages come from GET /languages (each with
// the codes it translates into), read in the background; a text is translated with
// POST /translate, a long one in pieces of at most PieceLimit characters cut at line and
// sentence ends, the blanks and line breaks between them kept. Until the list is read its
// pairs are not known yet (503, not 501). Its errors never show the key.
class LibreTranslateBackend : public TranslationBackend
{
public:
    static constexpr size_t PieceLimit = 2000;

    LibreTranslateBackend(ServiceAddress service, std::string apiKey, PairListTiming timing = {},
                          PairList::Log log = {});

    // The service's codes for a pair it translates, nothing otherwise.
    std::optional<std::pair<std::string, std::string>> codes(const LanguagePair &pair) const;

    std::string name() const override { return "upstream"; }

    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, "upstream", deadline);
    }
    void stop() override

    {

        m_connections.close();

        m_list.stop();
    }
    Offer offers(const LanguagePair &pair) const override;
    bool waitListKnown(Clock::time_point until) const override { return m_list.waitKnown(until); }
    Reach reach() const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Translation translatePiece(std::string_view text,
                               const std::pair<std::string, std::string> &codes,
                               Clock::time_point deadline) const;
    PairList::Load loadLanguages(Clock::time_point deadline) const;

    HttpConnections m_connections;
    std::string m_apiKey;
    mutable ReachRecord m_reach;
    // Last, so that its reader stops before the connections go.
    mutable PairList m_list;
};

} // namespace mirel::siteserver
