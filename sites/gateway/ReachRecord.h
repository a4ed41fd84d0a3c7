#pragma once

#include "sites/gateway/TranslationBackend.h"

#include <atomic>
#include <optional>

namespace mirel::siteserver {

// How a keyed service's account stood at its last answer, for the status page: a refused
// key or a spent quota until a later call succeeds. Shared by the calls of every request.
// A service's answer made into a translation, with how the account stands after it when
// the answer tells (a refused key, a spent quota, a success).
struct AccountAnswer
{
    Translation translation;
    std::optional<Reach> reach;
};

class ReachRecord
{
public:
    Reach get() const { return m_reach.load(); }
    void set(Reach reach) { m_reach.store(reach); }
    // Keeps what the answer tells of the account; its translation.
    Translation note(AccountAnswer answer)
    {
        if (answer.reach)
            set(*answer.reach);
        return std::move(answer.translation);
    }

private:
    std::atomic<Reach> m_reach{Reach::Known};
};

} // namespace mirel::siteserver
