#pragma once

#include <QString>
#include <QStringView>

namespace mirel::fuzz {

// How a browser reads a value that the result page puts between the single quotes of a
// script call; true when the call still gets exactly one string literal as its argument.

// In <a href="javascript:Play('value')">: the attribute as the HTML5 parser reads it
// (character references decoded), then the javascript: address percent-decoded, then the
// script.
bool playArgumentHolds(const QString &value);

// In <script>isChinese('value');</script>: the script element's text as the HTML5 parser
// ends it.
bool scriptArgumentHolds(const QString &value);

// Whether text is exactly one single-quoted script string literal, with no raw line
// terminator and well-formed \x and \u escapes.
bool isOneStringLiteral(QStringView text);

} // namespace mirel::fuzz
