#pragma once

#include "sites/backends/BoundedHttp.h"

#include <set>
#include <utility>

namespace mirel::sites {

// Apertium through its HTTP service APy: the pairs come from APy's pair list, a
// language is found under Apertium's codes (apertiumCodes), unknown words are passed
// through unmarked.
class ApertiumBackend : public TranslationBackend
{
public:
    explicit ApertiumBackend(ServiceAddress service) : m_connections(std::move(service)) {}

    // Reads the pair list (GET /listPairs); an empty text on success, else why not.
    std::string loadPairs(Clock::time_point deadline);
    const std::set<std::pair<std::string, std::string>> &pairs() const { return m_pairs; }
    // "eng|spa" for a pair APy lists, nothing otherwise.
    std::optional<std::string> langpair(const LanguagePair &pair) const;

    std::string name() const override { return "apertium"; }
    Offer offers(const LanguagePair &pair) const override
    {
        return langpair(pair) ? Offer::Yes : Offer::No;
    }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    HttpConnections m_connections;
    std::set<std::pair<std::string, std::string>> m_pairs; // source, target as APy names them
};

// Apertium leaves a blank where it drops a word at the start of a line (a subject
// pronoun: "I love books" gives " Quiero libros"). Where the source's line starts with no
// blank, the translation's line loses its leading blanks; everything else stays.
std::string withoutDroppedWordBlanks(std::string_view source, std::string_view translation);

} // namespace mirel::sites
