#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/languages/ChineseScript.h"
#include "sites/local/Glossary.h"

#include <memory>

namespace mirel::siteserver {

// The glossary, the last resort: Chinese, English and Japanese among themselves.
// Traditional Chinese goes through OpenCC on its way in and out (the glossary holds
// simplified Chinese); without OpenCC the glossary does not offer it.
class GlossaryBackend : public TranslationBackend
{
public:
    explicit GlossaryBackend(Glossary glossary, std::shared_ptr<const ChineseScript> script = {})
        : m_glossary(std::move(glossary)), m_script(std::move(script))
    {
    }

    std::string name() const override { return "glossary"; }
    bool online() const override { return false; }
    Offer offers(const LanguagePair &pair) const override;
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    Language language(const std::string &code) const;

    Glossary m_glossary;
    std::shared_ptr<const ChineseScript> m_script;
};

} // namespace mirel::siteserver
