#pragma once

#include <QString>
#include <QStringView>

namespace mirel::replica {

enum class Language { Chinese, TraditionalChinese, English, Japanese, Unsupported };

// Word-by-word (longest phrase first) translation through the built-in glossary, line
// by line, line breaks kept. Words the glossary does not know are carried over in
// square brackets, so a reader sees at once what was not translated.
QString translateText(QStringView text, Language from, Language to);

} // namespace mirel::replica
