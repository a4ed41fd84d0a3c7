#pragma once

#include <QStringList>
#include <QStringView>

#include <optional>

namespace mirel {

// What ChangeType puts into the source and target language lists: both get `names`,
// then the source selects `sourcePosition` and the target `targetPosition`.
struct LanguageListChoice
{
    QStringList names;
    int sourcePosition = 0;
    int targetPosition = 1;

    bool operator==(const LanguageListChoice &) const = default;
};

// The language lists for the engine with that name, given the positions selected now
// (-1 for none). A position from 0 to the engine's keep limit survives (Chinese,
// English, Japanese mean the same position in every table); otherwise the source falls
// back to 0 and the target to 1. nullopt for a name that is no engine: change nothing.
std::optional<LanguageListChoice> chooseLanguageLists(QStringView engineName, int sourcePosition,
                                                      int targetPosition);

} // namespace mirel
