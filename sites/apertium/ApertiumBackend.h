#pragma once

#include "sites/apertium/RecentPairs.h"
#include "sites/gateway/TranslationBackend.h"
#include "sites/http/BoundedHttp.h"
#include "sites/http/PairList.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

namespace mirel::siteserver {

struct ApertiumOptions
{
    // Where the recent pairs and the pairs' trial results are kept; empty: nowhere.
    std::filesystem::path cacheFolder;
    // Each pair APy lists is tried once with a short sentence in the background; a pair
    // that fails is not offered.
    bool probe = false;
    // Between two pairs' trials through APy. APy ends a pipeline unused for its idle time
    // (10 minutes) at its next request, so trials 30 s apart keep at most about 20 trial
    // pipelines alive at once: the first trial of all the pairs stays within APy's memory
    // budget.
    std::chrono::milliseconds trialPause{30000};
    // Trials outside APy (tryPairsOutside): this many at once, this long between two rounds.
    int trialsAtOnce = 2;
    std::chrono::milliseconds outsidePause{1000};
    PairListTiming listTiming;
    std::function<void(const std::string &)> log;
};

// Apertium through its HTTP service APy: the pairs come from APy's pair list (read in the
// background, again until it answers), a language is found under Apertium's codes
// (apertiumCodes). With trials on, a pair whose trial has not run yet and whose
// translation fails is tried at once: when the trial fails too, the pair is not served
// (501, the next engine may take it). Marked words come back as the source's words; Serbian is
// given to Apertium in Latin letters and comes back in Cyrillic ones.
class ApertiumBackend : public TranslationBackend
{
public:
    explicit ApertiumBackend(ServiceAddress service, ApertiumOptions options = {});
    ~ApertiumBackend() override;

    // Starts reading the pair list (and trying the pairs) in the background.
    void start();
    // Ends the calls under way (the pairs' trials, the warm-up, users' requests) and every
    // later one at once: the server is stopping.
    void stop() override;
    // Tries the pairs outside APy from now on, each as its own pipeline ended after its trial
    // (their mode files in APy's modes folder): APy keeps only the pipelines of the pairs
    // users ask for. A pair whose mode file is not found there is still tried through APy.
    void tryPairsOutside(std::filesystem::path modesFolder);
    // Reads the pair list again soon (APy started again).
    void askAgain() { m_list.askAgain(); }
    // Waits until the pair list is known or the time is up; true when known.
    bool waitKnown(Clock::time_point until) const { return m_list.waitKnown(until); }
    bool waitListKnown(Clock::time_point until) const override { return waitKnown(until); }
    // "eng|spa" for a pair APy lists, nothing otherwise.
    std::optional<std::string> langpair(const LanguagePair &pair) const;
    // The pairs APy lists that failed their trial, each "rus|ukr: why", sorted.
    std::vector<std::string> brokenPairs() const;
    // The pairs APy lists (source, target as APy names them), null while not read yet.
    std::shared_ptr<const ServicePairs> listedPairs() const { return m_list.pairs(); }
    // Starts the pipelines of the pairs used last (at most count of them) with a word each.
    void warm(size_t count) const;
    // Whether a user's translation or a pair's trial through APy is under way.
    bool busy() const { return m_inFlight > 0 || m_trials > 0; }

    std::string name() const override { return "apertium"; }
    bool online() const override { return false; }
    Offer offers(const LanguagePair &pair) const override;
    Reach reach() const override { return m_list.pairs() ? Reach::Known : Reach::NotYet; }
    Translation translate(const std::string &utf8, const LanguagePair &pair,
                          Clock::time_point deadline) const override;

private:
    PairList::Load loadPairs(Clock::time_point deadline) const;
    Translation call(const std::string &langpair, const std::string &text,
                     Clock::time_point deadline) const;
    void probeAll();
    // Tries the pair with a short sentence and keeps the verdict; false when nothing was
    // decided (APy gave no answer, the time given was shorter than a trial's, stopping).
    bool tryPair(const std::string &from, const std::string &to, Clock::time_point deadline) const;
    // The verdict of a trial outside APy; nothing when undecided.
    std::optional<std::pair<bool, std::string>> tryOutside(const std::filesystem::path &modeFile,
                                                           const std::string &from,
                                                           Clock::time_point deadline) const;
    void probeThrough(std::unique_lock<std::mutex> &lock, bool &unsure);
    void probeOutside(std::unique_lock<std::mutex> &lock, bool &unsure);
    // The pairs listed whose verdict is missing or old (m_mutex held).
    std::vector<std::pair<std::string, std::string>> untried() const;
    void readVerdicts();
    void saveVerdicts() const;

    struct Verdict
    {
        bool works = false;
        long long when = 0; // seconds since the epoch
        std::string why;
    };

    mutable HttpConnections m_connections;
    ApertiumOptions m_options;
    PairList m_list;
    mutable RecentPairs m_recent;
    mutable std::atomic<int> m_inFlight = 0;
    mutable std::atomic<int> m_trials = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::stop_source m_stop;       // asked with m_stopping: ends the trials outside APy
    std::filesystem::path m_modes; // APy's modes folder once trials run outside it
    mutable std::map<std::string, Verdict> m_verdicts; // by "eng|spa"
    std::thread m_prober;
};

// Apertium leaves a blank where it drops a word at the start of a line (a subject
// pronoun: "I love books" gives " Quiero libros"). Where the source's line starts with no
// blank, the translation's line loses its leading blanks; everything else stays. A
// passage's last line break counts like the others.
std::string withoutDroppedWordBlanks(std::string_view source, std::string_view translation);

} // namespace mirel::siteserver
