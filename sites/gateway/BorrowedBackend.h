#pragma once

#include "sites/gateway/TranslationBackend.h"

namespace mirel::siteserver {

// A backend that another owner keeps (and stops), asked through this one: a gateway built
// for new settings shares a running backend with the gateway before it.
class BorrowedBackend : public TranslationBackend
{
public:
    explicit BorrowedBackend(const TranslationBackend &backend) : m_backend(backend) {}

    std::string name() const override { return m_backend.name(); }
    Offer offers(const LanguagePair &pair) const override { return m_backend.offers(pair); }
    bool exact() const override { return m_backend.exact(); }
    bool waitListKnown(Clock::time_point until) const override
    {
        return m_backend.waitListKnown(until);
    }
    Reach reach() const override { return m_backend.reach(); }
    bool online() const override { return m_backend.online(); }
    bool takesTimeLeft() const override { return m_backend.takesTimeLeft(); }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override
    {
        return m_backend.translate(utf8, pair, deadline);
    }

private:
    const TranslationBackend &m_backend;
};

} // namespace mirel::siteserver
