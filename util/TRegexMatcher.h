#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>

#include <cstdint>
#include <memory>

namespace mirel {

enum TRegexOption : unsigned {
    preCaseLess = 0x01,      // letters match regardless of case
    preMultiLine = 0x02,     // ^ and $ also match at line breaks
    preSingleLine = 0x04,    // the dot also matches line breaks
    preExtended = 0x08,      // white space and comments in the pattern are ignored
    preAnchored = 0x10,      // a match must begin at the search start
    preUnGreedy = 0x20,      // quantifiers are lazy by default
    preNoAutoCapture = 0x40, // plain parentheses do not capture
};
Q_DECLARE_FLAGS(TRegexOptions, TRegexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRegexOptions)

// One 8-bit pattern (no UTF mode), one subject and the last match, over PCRE2. Any line
// break counts as a newline, and an empty match is never reported. The pattern is
// compiled by the first search after it or the options change.
class TRegexMatcher
{
public:
    TRegexMatcher();
    ~TRegexMatcher();
    TRegexMatcher(const TRegexMatcher &) = delete;
    TRegexMatcher &operator=(const TRegexMatcher &) = delete;

    TRegexOptions options() const { return m_options; }
    void setOptions(TRegexOptions options);

    const QByteArray &regEx() const { return m_regEx; }
    void setRegEx(QByteArrayView pattern);

    const QByteArray &subject() const { return m_subject; }
    void setSubject(QByteArrayView subject);

    // First search, from the subject's first byte. Throws mirel::Exception when the
    // pattern is empty or does not compile.
    bool match();
    // Next search, from the end of the previous match.
    bool matchAgain();

    // The bytes of the last match; throws when the last search found nothing.
    QByteArray matchedText() const;
    // 1-based start of the last match and its length in bytes.
    qsizetype matchedOffset() const;
    qsizetype matchedLength() const;
    bool foundMatch() const { return m_resultCount > 0; }

    // PCRE2 compile option bits derived from the options (the newline convention is
    // set on the compile context: PCRE2_NEWLINE_ANY, always).
    std::uint32_t compileOptions() const { return m_compileOptions; }
    bool isCompiled() const { return m_compiled; }
    // How many times a pattern was compiled over the object's life.
    int compileCount() const { return m_compileCount; }

private:
    struct Pcre;

    void discardCompiled();
    void compile();
    bool search(qsizetype byteOffset);
    void requireMatch() const;

    bool m_compiled = false;
    TRegexOptions m_options;
    QByteArray m_regEx;
    QByteArray m_subject;
    qsizetype m_start = 1;
    qsizetype m_stop = 0;
    qsizetype m_matchStart = 0; // 0-based byte offsets of the last match
    qsizetype m_matchEnd = 0;
    int m_resultCount = 0;
    std::uint32_t m_compileOptions = 0;
    int m_compileCount = 0;
    std::unique_ptr<Pcre> m_pcre;
};

} // namespace mirel
