#include "translation/LanguageLookup.h"

#include "translation/LanguageTables.h"

namespace mirel {
namespace {

QStringView view(std::u16string_view s)
{
    return QStringView(s.data(), qsizetype(s.size()));
}

const LanguageRow *findRow(int engineIndex, QStringView name)
{
    for (const LanguageRow &row : languageTable(engineIndex)) {
        if (view(row.name) == name)
            return &row;
    }
    return nullptr;
}

} // namespace

std::optional<int> engineIndexOf(QStringView engineName)
{
    for (int i = 0; i < EngineCount; ++i) {
        if (view(EngineNames[i]) == engineName)
            return i;
    }
    return std::nullopt;
}

QStringList engineNameList()
{
    QStringList names;
    for (const std::u16string_view name : EngineNames)
        names.append(view(name).toString());
    return names;
}

QStringList languageNames(int engineIndex)
{
    QStringList names;
    for (const LanguageRow &row : languageTable(engineIndex))
        names.append(view(row.name).toString());
    return names;
}

QByteArray GetLanguageCode(quint8 engineIndex, QStringView name)
{
    const LanguageRow *row = findRow(engineIndex, name);
    return row ? QByteArray(row->code.data(), qsizetype(row->code.size())) : QByteArray();
}

QString GetLanguageFont(quint8 engineIndex, QStringView name)
{
    if (engineIndex != engGoogle)
        return {};
    const LanguageRow *row = findRow(engineIndex, name);
    return row ? view(row->font).toString() : QString();
}

bool CheckLanguage(QStringView engineName, QStringView languageName)
{
    const std::optional<int> engine = engineIndexOf(engineName);
    return engine && findRow(*engine, languageName) != nullptr;
}

} // namespace mirel
