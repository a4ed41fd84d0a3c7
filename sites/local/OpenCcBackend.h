#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/languages/ChineseScript.h"

#include <memory>

namespace mirel::siteserver {

// 中文(简体) <-> 中文(繁体), offline and exact: asked before every translation service.
class OpenCcBackend : public TranslationBackend
{
public:
    explicit OpenCcBackend(std::shared_ptr<const ChineseScript> script)
        : m_script(std::move(script))
    {
    }

    std::string name() const override { return "opencc"; }
    bool online() const override { return false; }
    Offer offers(const LanguagePair &pair) const override;
    bool exact() const override { return true; }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    std::shared_ptr<const ChineseScript> m_script;
};

} // namespace mirel::siteserver
