#pragma once

#include "sites/local/GlossaryRows.h"

#include <QString>
#include <QStringView>

#include <string_view>

#include <memory>

namespace mirel::siteserver {

// The glossary's languages; its Chinese is simplified Chinese.
enum class Language { Chinese, English, Japanese, Unsupported };

// The glossary's language; Language::Unsupported for a language it does not hold
// (中文(繁体) among them: the glossary backend converts it through OpenCC).
Language glossaryLanguage(std::string_view language);

struct GlossaryIndex;

// Word-by-word (longest phrase first) translation through the glossary's rows, line by
// line, line breaks kept. Words the glossary does not know are carried over in square
// brackets, so a reader sees at once what was not translated.
class Glossary
{
public:
    explicit Glossary(const GlossaryRows &rows);

    QString translate(QStringView text, Language from, Language to) const;

private:
    std::shared_ptr<const GlossaryIndex> m_index;
};

} // namespace mirel::siteserver
