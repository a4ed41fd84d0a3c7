#pragma once

#include <QString>
#include <QStringView>

namespace mirel {

// Makes an HTML fragment of a remote page safe to place in a local page that runs
// scripts. The fragment is parsed as the content of a body element (HtmlFragment.h) and
// written back with only these elements: b, i, u, em, strong, br, span, sup, sub, font
// with its color, size and face attributes, and a with an href that is a plain http or
// https address; no other attribute. Every other element gives only its content, and
// the content of scripts, styles, raw-text elements, frames, embedded objects, SVG and
// MathML is dropped. All text is written escaped, comments and declarations are dropped.
QString sanitizeHtmlFragment(QStringView html);

} // namespace mirel
