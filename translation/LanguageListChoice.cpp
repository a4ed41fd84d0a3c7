#include "translation/LanguageListChoice.h"

#include "translation/LanguageLookup.h"
#include "translation/LanguageTables.h"

namespace mirel {

std::optional<LanguageListChoice> chooseLanguageLists(QStringView engineName, int sourcePosition,
                                                      int targetPosition)
{
    const std::optional<int> engine = engineIndexOf(engineName);
    if (!engine)
        return std::nullopt;
    const int limit = keepLimit(*engine);
    const auto kept = [limit](int position, int fallback) {
        return position >= 0 && position <= limit ? position : fallback;
    };
    return LanguageListChoice{languageNames(*engine), kept(sourcePosition, 0),
                              kept(targetPosition, 1)};
}

} // namespace mirel
