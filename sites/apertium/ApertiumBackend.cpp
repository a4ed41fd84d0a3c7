#include "sites/apertium/ApertiumBackend.h"

#include "sites/apertium/ApertiumMarks.h"
#include "sites/apertium/ModeFile.h"
#include "sites/apertium/PairTrial.h"
#include "sites/apertium/SerbianScript.h"
#include "sites/core/DataFile.h"
#include "sites/gateway/JsonAnswer.h"
#include "sites/http/FormEncoding.h"
#include "sites/http/SafeReason.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

#include <fstream>
#include <unistd.h>

namespace mirel::siteserver {
namespace {

constexpr auto kProbeLimit = std::chrono::seconds(20);
// A pair's first start reads all its data: on a busy machine a large pair takes far longer
// than one already running.
constexpr auto kOutsideLimit = std::chrono::seconds(60);
constexpr auto kProbePause = std::chrono::milliseconds(500);
constexpr auto kRetryPause = std::chrono::seconds(30);
constexpr long long kVerdictDays = 7;

std::string apyDetails(const QJsonObject &answer)
{
    for (const char16_t *key : {u"responseDetails", u"explanation", u"message"})
        if (const QString details = answer.value(key).toString(); !details.isEmpty())
            return safeReason(details.toStdString(), {});
    return "no details";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

long long secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A short sentence in the pair's source language; Apertium's programs for a language
// are only tried for real on words of that language.
std::string probeSentence(std::string_view source)
{
    const std::string_view code = source.substr(0, source.find('_'));
    if (code == "rus")
        return "Здравствуйте, как дела? Я хотел бы прочитать книгу.";
    if (code == "ukr")
        return "Привіт, як справи? Я хотів би прочитати книгу.";
    if (code == "bel")
        return "Прывітанне, як справы? Я хацеў бы прачытаць кнігу.";
    if (code == "spa")
        return "Hola, ¿cómo estás? Me gustaría leer un libro.";
    if (code == "cat")
        return "Hola, com estàs? M'agradaria llegir un llibre.";
    if (code == "hbs")
        return "Zdravo, kako si? Želeo bih da pročitam knjigu.";
    return "Hello, how are you? I would like to read a book.";
}

} // namespace

std::string withoutDroppedWordBlanks(std::string_view source, std::string_view translation)
{
    std::vector<std::string_view> from = splitAt(source, '\n');
    const std::vector<std::string_view> to = splitAt(translation, '\n');
    // Apertium may leave out a passage's last line break.
    if (from.size() == to.size() + 1 && from.back().empty())
        from.pop_back();
    if (from.size() != to.size())
        return std::string(translation);
    std::string out;
    out.reserve(translation.size());
    for (size_t i = 0; i < to.size(); ++i) {
        std::string_view line = to[i];
        if (from[i].empty() || !isBlank(from[i].front()))
            while (!line.empty() && isBlank(line.front()))
                line.remove_prefix(1);
        if (i > 0)
            out += '\n';
        out += line;
    }
    return out;
}

ApertiumBackend::ApertiumBackend(ServiceAddress service, ApertiumOptions options)
    : m_connections(std::move(service), systemAddresses, HttpLimits::untilDeadline()),
      m_options(std::move(options)),
      m_list(
          "apertium", [this](Clock::time_point deadline) { return loadPairs(deadline); },
          m_options.listTiming, m_options.log),
      m_recent(m_options.cacheFolder.empty() ? std::filesystem::path()
                                             : m_options.cacheFolder / "apertium-recent")
{
    readVerdicts();
}

ApertiumBackend::~ApertiumBackend()
{
    stop();
    if (m_prober.joinable())
        m_prober.join();
}

void ApertiumBackend::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stop.request_stop();
    m_wake.notify_all();
    m_connections.close();
    m_list.stop();
}

void ApertiumBackend::start()
{
    m_list.start();
    const std::lock_guard lock(m_mutex);
    if (m_options.probe && !m_prober.joinable())
        m_prober = std::thread([this] { probeAll(); });
}

void ApertiumBackend::tryPairsOutside(std::filesystem::path modesFolder)
{
    const std::lock_guard lock(m_mutex);
    m_modes = std::move(modesFolder);
}

PairList::Load ApertiumBackend::loadPairs(Clock::time_point deadline) const
{
    const HttpReply reply = m_connections.call({"GET", "/listPairs", {}, {}}, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "apertium");
    if (answer.failure)
        return {std::nullopt, answer.failure->reason};
    const QJsonValue list = answer.document->object().value(u"responseData");
    if (reply.status != 200 || !list.isArray())
        return {std::nullopt, "apertium: the pair list has no responseData array"};
    ServicePairs pairs;
    for (const QJsonValue &entry : list.toArray()) {
        const QString from = entry.toObject().value(u"sourceLanguage").toString();
        const QString to = entry.toObject().value(u"targetLanguage").toString();
        if (!from.isEmpty() && !to.isEmpty())
            pairs.emplace(from.toStdString(), to.toStdString());
    }
    return {std::move(pairs), {}};
}

std::optional<std::string> ApertiumBackend::langpair(const LanguagePair &pair) const
{
    const auto pairs = m_list.pairs();
    if (pair.from == pair.to || !pairs)
        return std::nullopt;
    for (const std::string &from : apertiumCodes(pair.from))
        for (const std::string &to : apertiumCodes(pair.to))
            if (pairs->count({from, to}))
                return from + "|" + to;
    return std::nullopt;
}

Offer ApertiumBackend::offers(const LanguagePair &pair) const
{
    if (!m_list.pairs())
        return Offer::NotKnownYet;
    const auto codes = langpair(pair);
    if (!codes)
        return Offer::No;
    const std::lock_guard lock(m_mutex);
    const auto verdict = m_verdicts.find(*codes);
    return verdict != m_verdicts.end() && !verdict->second.works ? Offer::No : Offer::Yes;
}

std::vector<std::string> ApertiumBackend::brokenPairs() const
{
    const auto pairs = m_list.pairs();
    std::vector<std::string> broken;
    const std::lock_guard lock(m_mutex);
    for (const auto &[codes, verdict] : m_verdicts) {
        const size_t bar = codes.find('|');
        if (!verdict.works &&
            (!pairs || pairs->count({codes.substr(0, bar), codes.substr(bar + 1)})))
            broken.push_back(codes + ": " + verdict.why);
    }
    return broken;
}

Translation ApertiumBackend::call(const std::string &langpair, const std::string &text,
                                  Clock::time_point deadline) const
{
    const HttpCall request{"POST", "/translate",
                           formBody({{"langpair", langpair}, {"markUnknown", "yes"}, {"q", text}}),
                           "application/x-www-form-urlencoded"};
    const HttpReply reply = m_connections.call(request, deadline);
    const JsonAnswer answer = readJsonAnswer(reply, "apertium");
    if (answer.failure)
        return *answer.failure;
    const QJsonObject object = answer.document->object();
    const QJsonValue translated = object.value(u"responseData").toObject().value(u"translatedText");
    if (reply.status != 200 || object.value(u"responseStatus").toInt() != 200)
        return Translation::badAnswer("apertium answered " + std::to_string(reply.status) + ": " +
                                      apyDetails(object));
    if (!translated.isString())
        return Translation::badAnswer("apertium: the answer has no translatedText");
    return Translation::translated(translated.toString().toStdString());
}

Translation ApertiumBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point deadline) const
{
    if (!m_list.pairs())
        return Translation::noAnswer("apertium: its pair list is not read yet");
    const std::optional<std::string> codes = langpair(pair);
    if (!codes || offers(pair) != Offer::Yes)
        return Translation::badAnswer("apertium: no pair " + pair.from + " to " + pair.to);
    ++m_inFlight;
    struct Done
    {
        std::atomic<int> &count;
        ~Done() { --count; }
    } done{m_inFlight};

    // Apertium reads Serbian in Latin letters.
    const std::string input = pair.from == "sr" ? serbianToLatin(utf8) : utf8;
    Translation result = call(*codes, input, deadline);
    if (result.outcome != Translation::Outcome::Translated) {
        const size_t bar = codes->find('|');
        // APy's own refusal of a pair not tried yet: tried now, within the request's time.
        const bool untried = [this, &codes, &result] {
            const std::lock_guard lock(m_mutex);
            return m_options.probe && !m_verdicts.count(*codes) &&
                   result.reason.rfind("apertium answered", 0) == 0;
        }();
        if (untried &&
            tryPair(codes->substr(0, bar), codes->substr(bar + 1),
                    std::min(deadline, Clock::now() + kProbeLimit)) &&
            offers(pair) == Offer::No)
            return {Translation::Outcome::Unsupported,
                    {},
                    501,
                    "apertium: " + *codes + " failed its trial: " + result.reason};
        return result;
    }
    m_recent.note(*codes);
    std::string text = withoutDroppedWordBlanks(input, result.text);
    if (pair.to == "sr")
        text = serbianToCyrillic(text);
    if (hasMarks(input, text)) {
        // Which source word each marked word came from: the text again, words numbered.
        const NumberedWords numbered = numberedWords(input);
        const Translation again = call(*codes, numbered.html, deadline);
        text = withSourceWords(input, text, again.text, numberedWords(utf8).words);
    }
    result.text = std::move(text);
    return result;
}

void ApertiumBackend::warm(size_t count) const
{
    std::vector<std::string> pairs = m_recent.list();
    if (pairs.empty())
        pairs = {"eng|spa", "spa|eng"};
    const auto listed = m_list.pairs();
    for (const std::string &codes : pairs) {
        if (count == 0)
            break;
        const size_t bar = codes.find('|');
        if (!listed || !listed->count({codes.substr(0, bar), codes.substr(bar + 1)}))
            continue;
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            if (const auto it = m_verdicts.find(codes); it != m_verdicts.end() && !it->second.works)
                continue;
        }
        call(codes, "Hello", Clock::now() + kProbeLimit);
        --count;
    }
}

bool ApertiumBackend::tryPair(const std::string &from, const std::string &to,
                              Clock::time_point deadline) const
{
    const std::string codes = from + "|" + to;
    const std::filesystem::path modes = [this] {
        const std::lock_guard lock(m_mutex);
        return m_modes;
    }();
    const std::filesystem::path modeFile = modes.empty() ? modes : modeFileFor(modes, from, to);
    bool works = false;
    std::string why;
    if (!modeFile.empty()) {
        const auto verdict = tryOutside(modeFile, from, deadline);
        if (!verdict)
            return false;
        std::tie(works, why) = *verdict;
    } else {
        ++m_trials;
        const Translation tried = call(codes, probeSentence(from), deadline);
        --m_trials;
        // No answer (APy starting again, busy): asked again later.
        if (tried.status == 503 && tried.reason.rfind("apertium answered", 0) != 0)
            return false;
        works = tried.outcome == Translation::Outcome::Translated;
        why = works ? std::string() : tried.reason;
    }
    const std::lock_guard lock(m_mutex);
    m_verdicts[codes] = {works, secondsNow(), why};
    if (!works && m_options.log)
        m_options.log("apertium: " + codes + " not offered: " + why);
    saveVerdicts();
    return true;
}

std::optional<std::pair<bool, std::string>>
ApertiumBackend::tryOutside(const std::filesystem::path &modeFile, const std::string &from,
                            Clock::time_point deadline) const
{
    const auto start = Clock::now();
    const PipelineRun run =
        tryModeFile(modeFile, probeSentence(from), deadline, m_stop.get_token());
    switch (run.end) {
    case PipelineRun::End::Answered:
        return std::pair(true, std::string());
    case PipelineRun::End::Stopped:
        return std::nullopt;
    case PipelineRun::End::TimedOut:
        // Within a user's request's time: the pair's own trial decides later.
        if (deadline - start < kOutsideLimit - std::chrono::seconds(1))
            return std::nullopt;
        return std::pair(false, "no answer within " + std::to_string(kOutsideLimit.count()) + " s");
    case PipelineRun::End::Failed:
        break;
    }
    return std::pair(false, safeReason(run.why, {}));
}

std::vector<std::pair<std::string, std::string>> ApertiumBackend::untried() const
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto pairs = m_list.pairs();
    for (const auto &[from, to] : pairs ? *pairs : ServicePairs{}) {
        const auto known = m_verdicts.find(from + "|" + to);
        if (known == m_verdicts.end() ||
            secondsNow() - known->second.when >= kVerdictDays * 24 * 3600)
            out.emplace_back(from, to);
    }
    return out;
}

void ApertiumBackend::probeThrough(std::unique_lock<std::mutex> &lock, bool &unsure)
{
    for (const auto &[from, to] : untried()) {
        if (m_stopping || !m_modes.empty())
            break;
        if (const auto known = m_verdicts.find(from + "|" + to);
            known != m_verdicts.end() && secondsNow() - known->second.when < 60)
            continue; // tried meanwhile, for a user
        lock.unlock();
        const bool decided = tryPair(from, to, Clock::now() + kProbeLimit);
        lock.lock();
        unsure = unsure || !decided;
        if (decided)
            m_wake.wait_for(lock, m_options.trialPause, [this] { return m_stopping; });
    }
}

void ApertiumBackend::probeOutside(std::unique_lock<std::mutex> &lock, bool &unsure)
{
    const auto pending = untried();
    const size_t atOnce = size_t(std::max(1, m_options.trialsAtOnce));
    for (size_t first = 0; first < pending.size() && !m_stopping; first += atOnce) {
        const size_t count = std::min(atOnce, pending.size() - first);
        std::vector<char> decided(count, 1);
        lock.unlock();
        {
            std::vector<std::jthread> trials;
            for (size_t i = 0; i < count; ++i)
                trials.emplace_back([this, &pending, &decided, first, i] {
                    const auto &[from, to] = pending[first + i];
                    decided[i] = tryPair(from, to, Clock::now() + kOutsideLimit);
                });
        }
        lock.lock();
        unsure = unsure || std::count(decided.begin(), decided.end(), 0) > 0;
        m_wake.wait_for(lock, m_options.outsidePause, [this] { return m_stopping; });
    }
}

void ApertiumBackend::probeAll()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        bool unsure = !m_list.pairs();
        if (m_modes.empty())
            probeThrough(lock, unsure);
        else
            probeOutside(lock, unsure);
        m_wake.wait_for(lock, unsure ? kProbePause * 4 : kRetryPause,
                        [this] { return m_stopping; });
    }
}

void ApertiumBackend::readVerdicts()
{
    if (m_options.cacheFolder.empty())
        return;
    std::ifstream in(m_options.cacheFolder / "apertium-pairs.tsv");
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string_view> fields = splitAt(line, '\t');
        if (fields.size() < 3 || (fields[1] != "works" && fields[1] != "fails"))
            continue;
        m_verdicts[std::string(fields[0])] = {fields[1] == "works",
                                              std::atoll(std::string(fields[2]).c_str()),
                                              fields.size() > 3 ? std::string(fields[3]) : ""};
    }
}

void ApertiumBackend::saveVerdicts() const
{
    if (m_options.cacheFolder.empty())
        return;
    const std::filesystem::path file = m_options.cacheFolder / "apertium-pairs.tsv";
    std::filesystem::path part = file;
    part += ".part" + std::to_string(::getpid());
    {
        std::ofstream out(part, std::ios::trunc);
        for (const auto &[codes, verdict] : m_verdicts)
            out << codes << '\t' << (verdict.works ? "works" : "fails") << '\t' << verdict.when
                << '\t' << verdict.why << '\n';
        if (!out)
            return;
    }
    std::error_code error;
    std::filesystem::rename(part, file, error);
}

} // namespace mirel::siteserver
