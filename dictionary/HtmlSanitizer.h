#pragma once

#include <QString>
#include <QStringView>

namespace mirel {

// Makes an HTML fragment of a remote page safe to place in a local page that runs
// scripts: removes script elements with their content, embedded objects and frames
// (object, embed, applet, iframe, frame, frameset), elements whose content browsers
// read as text (style, textarea, title, xmp, noscript, noframes, noembed, plaintext)
// with that content, event-handler attributes (on…), attributes whose address is a
// javascript: or vbscript: one, comments, declarations and processing instructions
// ("<!…>", "<?…>", up to the first ">"), and a tag left open at the end. Every other tag and all text stay as they are.
QString sanitizeHtmlFragment(QStringView html);

} // namespace mirel
