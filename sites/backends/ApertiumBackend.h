#pragma once

#include "sites/backends/BoundedHttp.h"
#include "sites/backends/ServiceList.h"

#include <utility>

namespace mirel::sites {

// Apertium through its HTTP service APy: the pairs come from APy's pair list, read in
// the background (its pairs are not known yet until then), a language is found under
// Apertium's codes (apertiumCodes), unknown words are passed through unmarked.
class ApertiumBackend : public TranslationBackend
{
public:
    explicit ApertiumBackend(ServiceAddress service, ServiceListTiming timing = {},
                             ServiceList::Log log = {});

    // The pairs (source, target as APy names them), null while not read yet.
    std::shared_ptr<const ServicePairs> pairs() const { return m_list.pairs(); }
    // "eng|spa" for a pair APy lists, nothing otherwise.
    std::optional<std::string> langpair(const LanguagePair &pair) const;

    std::string name() const override { return "apertium"; }
    Offer offers(const LanguagePair &pair) const override
    {
        if (!pairs())
            return Offer::NotKnownYet;
        return langpair(pair) ? Offer::Yes : Offer::No;
    }
    bool waitListKnown(Clock::time_point until) const override { return m_list.waitKnown(until); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    // Reads the pair list (GET /listPairs).
    ServiceList::Load loadPairs(Clock::time_point deadline) const;

    HttpConnections m_connections;
    // Last, so that its reader stops before the connections go.
    ServiceList m_list;
};

// Apertium leaves a blank where it drops a word at the start of a line (a subject
// pronoun: "I love books" gives " Quiero libros"). Where the source's line starts with no
// blank, the translation's line loses its leading blanks; everything else stays.
std::string withoutDroppedWordBlanks(std::string_view source, std::string_view translation);

} // namespace mirel::sites
