#pragma once

#include <QString>
#include <QStringView>

namespace mirel {

// The text as the inside of a single-quoted script string that may stand in a
// double-quoted HTML attribute, in a javascript: address or in a script element: every
// backslash, quote, "<", ">", "&", "%", "`", control character and line or paragraph
// separator becomes a \uXXXX escape; everything else stays as it is.
QString escapeScriptString(QStringView text);

} // namespace mirel
