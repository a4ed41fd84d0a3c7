#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

struct GumboInternalNode;
struct GumboInternalOutput;

namespace mirel {

// A piece of a remote page parsed as the content of a body element by an HTML5 parser,
// as a browser would parse it there. Text longer than kMaxFragmentLength characters is
// cut there first: the parser's time and tree depth grow with the text (a page of nested
// tags would take seconds, or the stack), and no dictionary field comes near it.
class HtmlFragment
{
public:
    static constexpr qsizetype kMaxFragmentLength = 64 * 1024;

    explicit HtmlFragment(QStringView html);
    ~HtmlFragment();
    HtmlFragment(const HtmlFragment &) = delete;
    HtmlFragment &operator=(const HtmlFragment &) = delete;

    // The element that holds the fragment's nodes.
    const GumboInternalNode *root() const;

private:
    QByteArray m_utf8; // the parser's nodes point into it
    GumboInternalOutput *m_output;
};

// True for the elements whose content is not shown as text: scripts and styles, the
// elements a browser reads as raw text, templates, frames, embedded objects and embedded
// SVG or MathML.
bool hidesContent(const GumboInternalNode &node);

// The text a browser shows for the fragment: its text with character references decoded,
// without markup, without the content of the elements above, a line break as a blank.
QString htmlFragmentText(QStringView html);

} // namespace mirel
