#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace mirel {

// All comparisons are exact and case-sensitive; display names are matched, never codes.

// The engine index of an engine name ("Google引擎" → 0 …), or nullopt for any other text.
std::optional<int> engineIndexOf(QStringView engineName);

// The display names of EngineNames in table order (the engine list's items).
QStringList engineNameList();

// The display names of an engine's language table in table order; empty for an index
// outside 0 to 3.
QStringList languageNames(int engineIndex);

// The code the engine's form expects for a display name; empty when the name is not in
// the engine's table or the index is outside 0 to 3.
QByteArray GetLanguageCode(quint8 engineIndex, QStringView name);

// The result box font for a display name; only Google (index 0) has fonts, so every
// other index, and a name that is not in Google's table, gives the empty text.
QString GetLanguageFont(quint8 engineIndex, QStringView name);

// True when the engine with that name offers a language with that display name.
bool CheckLanguage(QStringView engineName, QStringView languageName);

} // namespace mirel
