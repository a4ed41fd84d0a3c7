#include "sites/local/Glossary.h"

#include "sites/local/GlossaryRows.h"

#include <memory>
#include <vector>

#include <QHash>
#include <QList>

#include <algorithm>

namespace mirel::siteserver {
namespace {

using namespace Qt::StringLiterals;

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

struct GlossaryIndex
{
    QHash<QString, const GlossaryEntry *> zh;
    QHash<QString, const GlossaryEntry *> ja;
    QHash<QString, const GlossaryEntry *> en; // lower-case phrase, single blanks
    qsizetype longestZh = 1;
    qsizetype longestJa = 1;
    qsizetype longestEnWords = 1;
    std::vector<GlossaryEntry> entries;
};

namespace {

std::shared_ptr<const GlossaryIndex> buildIndex(const GlossaryRows &rows)
{
    auto built = std::make_shared<GlossaryIndex>();
    GlossaryIndex &idx = *built;
    idx.entries = rows.entries;
    for (const GlossaryEntry &e : idx.entries) {
        const QString zh = fromView(e.zh);
        const QString ja = fromView(e.ja);
        const QString en = fromView(e.en).toLower();
        if (!zh.isEmpty() && !idx.zh.contains(zh)) {
            idx.zh.insert(zh, &e);
            idx.longestZh = std::max(idx.longestZh, zh.size());
        }
        if (!ja.isEmpty() && !idx.ja.contains(ja)) {
            idx.ja.insert(ja, &e);
            idx.longestJa = std::max(idx.longestJa, ja.size());
        }
        if (!en.isEmpty() && !idx.en.contains(en)) {
            idx.en.insert(en, &e);
            idx.longestEnWords = std::max(idx.longestEnWords, en.count(u' ') + 1);
        }
    }
    return built;
}

enum class Kind { Word, Punct, Space };

struct Token
{
    Kind kind = Kind::Word;
    QString source;
    bool known = false;
    bool passThrough = false; // Latin names or numbers inside CJK text: kept as they are
    QString target;
};

bool isAsciiWordChar(QChar c)
{
    return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'\'' || c == u'-');
}

bool isCjkLetter(QChar c)
{
    return c.unicode() >= 0x2E80 && c.isLetterOrNumber();
}

QString column(const GlossaryEntry &e, Language lang)
{
    switch (lang) {
    case Language::Chinese:
        return fromView(e.zh);
    case Language::English:
        return fromView(e.en);
    case Language::Japanese:
        return fromView(e.ja);
    case Language::Unsupported:
        break;
    }
    return {};
}

Token wordToken(const QString &source, const GlossaryEntry *entry, Language to)
{
    Token t{Kind::Word, source, false, false, {}};
    if (entry && to != Language::Unsupported) {
        t.known = true;
        t.target = column(*entry, to);
    }
    return t;
}

// Chinese or Japanese text: the longest glossary entry at each position wins.
QList<Token> tokenizeCjk(QStringView line, const QHash<QString, const GlossaryEntry *> &dict,
                         qsizetype longest, Language to)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c.isSpace()) {
            tokens.append({Kind::Space, QString(c), true, false, {}});
            ++i;
            continue;
        }
        if (isAsciiWordChar(c)) {
            qsizetype j = i;
            while (j < line.size() && isAsciiWordChar(line[j]))
                ++j;
            const QString word = line.mid(i, j - i).toString();
            tokens.append({Kind::Word, word, true, true, word});
            i = j;
            continue;
        }
        if (!isCjkLetter(c)) {
            tokens.append({Kind::Punct, QString(c), true, false, {}});
            ++i;
            continue;
        }
        const GlossaryEntry *found = nullptr;
        qsizetype len = std::min(longest, line.size() - i);
        for (; len > 0; --len) {
            found = dict.value(line.mid(i, len).toString(), nullptr);
            if (found)
                break;
        }
        if (found) {
            tokens.append(wordToken(line.mid(i, len).toString(), found, to));
            i += len;
            continue;
        }
        // Unknown: one character; neighbours are merged when rendered.
        tokens.append(wordToken(QString(c), nullptr, to));
        ++i;
    }
    return tokens;
}

const GlossaryEntry *lookupEnglishWord(const GlossaryIndex &idx, const QString &word)
{
    const QString lower = word.toLower();
    if (const GlossaryEntry *e = idx.en.value(lower, nullptr))
        return e;
    for (const QString &suffix : {u"'s"_s, u"es"_s, u"s"_s, u"ed"_s, u"d"_s, u"ing"_s}) {
        if (lower.size() > suffix.size() + 2 && lower.endsWith(suffix)) {
            if (const GlossaryEntry *e = idx.en.value(lower.chopped(suffix.size()), nullptr))
                return e;
        }
    }
    return nullptr;
}

// English (or any blank-separated) text: phrases of up to the longest glossary phrase
// are tried before single words.
QList<Token> tokenizeWords(const GlossaryIndex &idx, QStringView line, Language to)
{
    QList<Token> raw;
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        qsizetype j = i + 1;
        Kind kind = Kind::Punct;
        if (c.isSpace()) {
            kind = Kind::Space;
        } else if (c.isLetterOrNumber()) {
            kind = Kind::Word;
            while (j < line.size() &&
                   (line[j].isLetterOrNumber() || line[j] == u'\'' ||
                    (line[j] == u'-' && j + 1 < line.size() && line[j + 1].isLetterOrNumber())))
                ++j;
        }
        raw.append({kind, line.mid(i, j - i).toString(), true, false, {}});
        i = j;
    }

    QList<Token> tokens;
    for (qsizetype t = 0; t < raw.size();) {
        if (raw[t].kind != Kind::Word) {
            tokens.append(raw[t++]);
            continue;
        }
        bool matched = false;
        for (qsizetype words = idx.longestEnWords; words > 1 && !matched; --words) {
            QString phrase = raw[t].source;
            qsizetype end = t + 1;
            qsizetype taken = 1;
            while (taken < words && end + 1 < raw.size() && raw[end].kind == Kind::Space &&
                   raw[end + 1].kind == Kind::Word) {
                phrase += u' ' + raw[end + 1].source;
                end += 2;
                ++taken;
            }
            if (taken != words)
                continue;
            if (const GlossaryEntry *e = idx.en.value(phrase.toLower(), nullptr)) {
                tokens.append(wordToken(phrase, e, to));
                t = end;
                matched = true;
            }
        }
        if (matched)
            continue;
        const QString &word = raw[t].source;
        bool number = true;
        for (const QChar c : word)
            number = number && c.isDigit();
        if (number)
            tokens.append({Kind::Word, word, true, true, word});
        else
            tokens.append(wordToken(word, lookupEnglishWord(idx, word), to));
        ++t;
    }
    return tokens;
}

QString punctuationFor(const QString &mark, Language to)
{
    static const QList<std::pair<QString, QString>> pairs = {
        {u"，"_s, u","_s}, {u"。"_s, u"."_s}, {u"？"_s, u"?"_s}, {u"！"_s, u"!"_s},
        {u"："_s, u":"_s}, {u"；"_s, u";"_s}, {u"、"_s, u","_s}, {u"（"_s, u"("_s},
        {u"）"_s, u")"_s}, {u"“"_s, u"\""_s}, {u"”"_s, u"\""_s}};
    if (to == Language::English || to == Language::Unsupported) {
        for (const auto &[wide, narrow] : pairs)
            if (mark == wide)
                return narrow;
        return mark;
    }
    if (to == Language::Japanese && (mark == u"," || mark == u"，"))
        return u"、"_s;
    for (const auto &[wide, narrow] : pairs)
        if (mark == narrow && wide != u"、")
            return wide;
    return mark;
}

bool spacedLanguage(Language lang)
{
    return lang == Language::English || lang == Language::Unsupported;
}

// How a mark stands between words in spaced text: an opening mark takes the blank before
// it, a closing or sentence mark the blank after it, any other symbol both, like a word.
enum class MarkSide { Opening, Closing, Symbol };

MarkSide markSide(const QString &mark)
{
    static const QString opening = u"([{<‹«（「『“‘"_s;
    static const QString closing = u")]}>›»）」』”’,.;:!?、，。；：！？…"_s;
    if (mark.size() == 1 && opening.contains(mark.front()))
        return MarkSide::Opening;
    if (mark.size() == 1 && closing.contains(mark.front()))
        return MarkSide::Closing;
    return MarkSide::Symbol;
}

// Straight quotes open and close by turns; CJK text gets the matching curly quote.
QString quoteFor(const QString &mark, bool opening, Language to)
{
    if (spacedLanguage(to))
        return mark;
    if (mark == u"\"")
        return opening ? u"“"_s : u"”"_s;
    return opening ? u"‘"_s : u"’"_s;
}

QString render(const QList<Token> &tokens, Language from, Language to)
{
    const bool spaced = spacedLanguage(to);
    const QString unknownGap = spacedLanguage(from) ? u" "_s : QString();
    QString out;
    QString unknown; // a run of untranslated words, written as one bracket
    bool wordBefore = false;
    bool doubleOpen = false;
    bool singleOpen = false;
    auto appendWord = [&](const QString &text) {
        if (text.isEmpty())
            return;
        if (spaced && wordBefore)
            out += u' ';
        out += text;
        wordBefore = true;
    };
    auto appendMark = [&](const QString &mark, MarkSide side) {
        if (side == MarkSide::Symbol)
            return appendWord(mark);
        if (side == MarkSide::Opening && spaced && wordBefore)
            out += u' ';
        out += mark;
        wordBefore = side == MarkSide::Closing;
    };
    auto flushUnknown = [&] {
        if (unknown.isEmpty())
            return;
        appendWord(u'[' + unknown.trimmed() + u']');
        unknown.clear();
    };
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Word && !t.known) {
            if (!unknown.isEmpty())
                unknown += unknownGap;
            unknown += t.source;
            continue;
        }
        if (t.kind == Kind::Space) {
            continue; // blanks are rebuilt from the target language's rules
        }
        flushUnknown();
        if (t.kind == Kind::Word) {
            appendWord(t.passThrough ? t.source : t.target);
        } else if (t.source == u"\"" || t.source == u"'") {
            bool &open = t.source == u"\"" ? doubleOpen : singleOpen;
            open = !open;
            appendMark(quoteFor(t.source, open, to), open ? MarkSide::Opening : MarkSide::Closing);
        } else {
            const QString mark = punctuationFor(t.source, to);
            appendMark(mark, markSide(mark));
        }
    }
    flushUnknown();
    if (spaced && !out.isEmpty() && out.front().isLower())
        out.front() = out.front().toUpper();
    return out;
}

QString translateLine(const GlossaryIndex &idx, QStringView line, Language from, Language to)
{
    if (from == to)
        return line.toString();
    QList<Token> tokens;
    if (from == Language::Chinese) {
        tokens = tokenizeCjk(line, idx.zh, idx.longestZh, to);
    } else if (from == Language::Japanese) {
        tokens = tokenizeCjk(line, idx.ja, idx.longestJa, to);
    } else {
        tokens = tokenizeWords(idx, line, from == Language::English ? to : Language::Unsupported);
    }
    return render(tokens, from, to);
}

} // namespace

Glossary::Glossary(const GlossaryRows &rows) : m_index(buildIndex(rows)) {}

QString Glossary::translate(QStringView text, Language from, Language to) const
{
    QString out;
    qsizetype start = 0;
    while (true) {
        const qsizetype nl = text.indexOf(u'\n', start);
        QStringView line = text.mid(start, nl < 0 ? -1 : nl - start);
        const bool cr = line.endsWith(u'\r');
        if (cr)
            line.chop(1);
        out += translateLine(*m_index, line, from, to);
        if (cr)
            out += u'\r';
        if (nl < 0)
            break;
        out += u'\n';
        start = nl + 1;
    }
    return out;
}

Language glossaryLanguage(std::string_view language)
{
    if (language == "zh-CN")
        return Language::Chinese;
    if (language == "en")
        return Language::English;
    if (language == "ja")
        return Language::Japanese;
    return Language::Unsupported;
}

} // namespace mirel::siteserver
