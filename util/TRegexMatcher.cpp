#include "util/TRegexMatcher.h"

#include "util/Errors.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>

namespace mirel {
namespace {

struct TablesDeleter
{
    void operator()(const std::uint8_t *tables) const { pcre2_maketables_free(nullptr, tables); }
};
struct ContextDeleter
{
    void operator()(pcre2_compile_context *c) const { pcre2_compile_context_free(c); }
};
struct CodeDeleter
{
    void operator()(pcre2_code *c) const { pcre2_code_free(c); }
};
struct MatchDataDeleter
{
    void operator()(pcre2_match_data *d) const { pcre2_match_data_free(d); }
};

constexpr std::array<std::pair<TRegexOption, std::uint32_t>, 7> optionBits{{
    {preCaseLess, PCRE2_CASELESS},
    {preMultiLine, PCRE2_MULTILINE},
    {preSingleLine, PCRE2_DOTALL},
    {preExtended, PCRE2_EXTENDED},
    {preAnchored, PCRE2_ANCHORED},
    {preUnGreedy, PCRE2_UNGREEDY},
    {preNoAutoCapture, PCRE2_NO_AUTO_CAPTURE},
}};

} // namespace

// The PCRE2 objects, each released in one place.
struct TRegexMatcher::Pcre
{
    std::unique_ptr<const std::uint8_t, TablesDeleter> tables;
    std::unique_ptr<pcre2_compile_context, ContextDeleter> context;
    std::unique_ptr<pcre2_code, CodeDeleter> code;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> matchData;
};

TRegexMatcher::TRegexMatcher() : m_pcre(std::make_unique<Pcre>())
{
    m_pcre->tables.reset(pcre2_maketables(nullptr));
    m_pcre->context.reset(pcre2_compile_context_create(nullptr));
    if (!m_pcre->tables || !m_pcre->context)
        throw std::bad_alloc();
    pcre2_set_character_tables(m_pcre->context.get(), m_pcre->tables.get());
    pcre2_set_newline(m_pcre->context.get(), PCRE2_NEWLINE_ANY);
}

TRegexMatcher::~TRegexMatcher() = default;

void TRegexMatcher::setOptions(TRegexOptions options)
{
    if (options == m_options)
        return;
    m_options = options;
    m_compileOptions = 0;
    for (const auto &[option, bit] : optionBits) {
        if (options.testFlag(option))
            m_compileOptions |= bit;
    }
    discardCompiled();
}

void TRegexMatcher::setRegEx(QByteArrayView pattern)
{
    if (pattern == m_regEx)
        return;
    m_regEx = pattern.toByteArray();
    discardCompiled();
}

void TRegexMatcher::setSubject(QByteArrayView subject)
{
    m_subject = subject.toByteArray();
    m_start = 1;
    m_stop = m_subject.size();
    m_resultCount = 0;
}

void TRegexMatcher::discardCompiled()
{
    m_compiled = false;
    m_resultCount = 0;
}

void TRegexMatcher::compile()
{
    m_pcre->code.reset();
    m_pcre->matchData.reset();
    if (m_regEx.isEmpty()) {
        throw Exception(QStringLiteral(
            "TRegexMatcher.Compile() - Please specify a regular expression in RegEx first"));
    }
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    ++m_compileCount;
    m_pcre->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(m_regEx.constData()),
                                     PCRE2_SIZE(m_regEx.size()), m_compileOptions, &errorCode,
                                     &errorOffset, m_pcre->context.get()));
    if (!m_pcre->code) {
        std::array<PCRE2_UCHAR, 256> text{};
        pcre2_get_error_message(errorCode, text.data(), text.size());
        throw Exception(QStringLiteral("TRegexMatcher.Compile() - Error in regex at offset %1: %2")
                            .arg(qulonglong(errorOffset))
                            .arg(QString::fromLatin1(reinterpret_cast<const char *>(text.data()))));
    }
    // Room for every capture group of the pattern, so a match is never reported as none.
    m_pcre->matchData.reset(pcre2_match_data_create_from_pattern(m_pcre->code.get(), nullptr));
    if (!m_pcre->matchData)
        throw std::bad_alloc();
    m_compiled = true;
}

bool TRegexMatcher::search(qsizetype byteOffset)
{
    m_resultCount = pcre2_match(
        m_pcre->code.get(), reinterpret_cast<PCRE2_SPTR>(m_subject.constData()), PCRE2_SIZE(m_stop),
        PCRE2_SIZE(byteOffset), PCRE2_NOTEMPTY, m_pcre->matchData.get(), nullptr);
    if (m_resultCount <= 0)
        return false;
    const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(m_pcre->matchData.get());
    m_matchStart = qsizetype(ovector[0]);
    m_matchEnd = qsizetype(ovector[1]);
    m_start = m_matchEnd + 1;
    if (m_matchEnd == m_matchStart)
        ++m_start;
    return true;
}

bool TRegexMatcher::match()
{
    if (!m_compiled)
        compile();
    return search(0);
}

bool TRegexMatcher::matchAgain()
{
    if (!m_compiled)
        compile();
    if (m_start - 1 > m_stop) {
        m_resultCount = 0;
        return false;
    }
    return search(m_start - 1);
}

void TRegexMatcher::requireMatch() const
{
    if (m_resultCount <= 0)
        throw Exception(QStringLiteral("REQUIRE: There must be a successful match first"));
}

QByteArray TRegexMatcher::matchedText() const
{
    requireMatch();
    return m_subject.sliced(m_matchStart, m_matchEnd - m_matchStart);
}

qsizetype TRegexMatcher::matchedOffset() const
{
    requireMatch();
    return m_matchStart + 1;
}

qsizetype TRegexMatcher::matchedLength() const
{
    requireMatch();
    return m_matchEnd - m_matchStart;
}

} // namespace mirel
