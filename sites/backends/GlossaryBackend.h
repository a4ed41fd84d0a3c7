#pragma once

#include "sites/backends/Translation.h"
#include "sites/backends/Translator.h"

namespace mirel::sites {

// The glossary, the last resort: Chinese (simplified and traditional), English and
// Japanese among themselves.
class GlossaryBackend : public TranslationBackend
{
public:
    explicit GlossaryBackend(Glossary glossary) : m_glossary(std::move(glossary)) {}

    std::string name() const override { return "glossary"; }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Glossary m_glossary;
};

} // namespace mirel::sites
