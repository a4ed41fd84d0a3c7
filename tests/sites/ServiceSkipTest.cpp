// How long a failing service is passed over and the one call let through after the pause;
// the share of the time an online service gets; the default order and the Google engine's
// vendor; through the site server, a service that hangs or cannot be reached costs the
// user one wait at most.
#include "FakeHttpServer.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "translation/EngineRequest.h"

#include "sites/gateway/FailureMemory.h"
#include "sites/gateway/SkipSchedule.h"
#include "sites/gateway/TranslationGateway.h"
#include "sites/setup/ServiceOrder.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

// A backend that fails with what it is given (or translates with its name) and keeps the
// deadline of its last call.
class ScriptedBackend : public TranslationBackend
{
public:
    ScriptedBackend(std::string name, std::optional<Translation> failure, bool online = true,
                    bool takesTimeLeft = false)
        : m_name(std::move(name)), m_failure(std::move(failure)), m_online(online),
          m_takesTimeLeft(takesTimeLeft)
    {
    }
    std::string name() const override { return m_name; }
    Offer offers(const LanguagePair &) const override { return Offer::Yes; }
    bool online() const override { return m_online; }
    bool takesTimeLeft() const override { return m_takesTimeLeft; }
    Reach reach() const override { return m_keyRefused ? Reach::Refused : Reach::Known; }
    Translation translate(const std::string &, const LanguagePair &,
                          Clock::time_point deadline) const override
    {
        const std::lock_guard lock(m_mutex);
        m_deadline = deadline;
        m_keyRefused = m_failure && m_failure->reason.find("key") != std::string::npos;
        return m_failure ? *m_failure : Translation::translated(m_name);
    }
    Clock::time_point lastDeadline() const
    {
        const std::lock_guard lock(m_mutex);
        return m_deadline;
    }

private:
    std::string m_name;
    std::optional<Translation> m_failure;
    bool m_online;
    bool m_takesTimeLeft;
    mutable std::mutex m_mutex;
    mutable Clock::time_point m_deadline{};
    mutable std::atomic<bool> m_keyRefused = false;
};

std::string tried(const GatewayAnswer &answer)
{
    std::string names;
    for (const Attempt &attempt : answer.attempts)
        names += (names.empty() ? "" : ",") + attempt.backend;
    return names;
}

} // namespace

TEST(SkipSchedule, LongerPausesWhileAServiceKeepsFailing)
{
    const std::pair<int, Clock::duration> rows[] = {
        {0, 0s}, {1, 30s}, {2, 2min}, {3, 10min}, {9, 10min}};
    for (const auto &[failures, pause] : rows)
        EXPECT_EQ(skipPause(failures), pause) << failures;
}

TEST(FailureMemory, PassedOverThenOneProbeAtATimeUntilItAnswers)
{
    using enum FailureMemory::Admission;
    struct Step
    {
        int at;    // seconds from the start
        char what; // a: admit, s: service failure, r: request refused, t: ok
        FailureMemory::Admission admitted = Skip;
    };
    const Translation outcome[] = {Translation::noAnswer("timed out"),
                                   Translation::refusedRequest("text too long"),
                                   Translation::translated("ok")};
    const Step steps[] = {
        {0, 'a', Ask},     {0, 's'},         {29, 'a', Skip},   {30, 'a', Probe},  {30, 'a', Skip},
        {31, 's'},         {150, 'a', Skip}, {151, 'a', Probe}, {152, 's'},        {751, 'a', Skip},
        {752, 'a', Probe}, {753, 't'},       {753, 'a', Ask},   {753, 'a', Ask},   {754, 'r'},
        {754, 'a', Ask},   {755, 's'},       {784, 'a', Skip},  {785, 'a', Probe},
    };
    FailureMemory memory(skipPause);
    const Clock::time_point start = Clock::now();
    for (const Step &step : steps) {
        SCOPED_TRACE(std::to_string(step.at) + step.what);
        const Clock::time_point at = start + std::chrono::seconds(step.at);
        const size_t kind = std::string_view("srt").find(step.what);
        if (kind == std::string_view::npos)
            EXPECT_EQ(memory.admit("edge", at), step.admitted);
        else
            memory.note("edge", outcome[kind], at);
    }
    const auto skip = memory.skip("edge", start + 760s);
    ASSERT_TRUE(skip);
    EXPECT_EQ(skip->until, start + 785s) << "a success began the pauses anew";
    EXPECT_EQ(skip->reason, "timed out");
    EXPECT_FALSE(memory.skip("google", start)) << "a service never failed is asked";
}

TEST(ServiceShare, AnOnlineServiceLeavesTheLaterOnesTheirTurn)
{
    struct Row
    {
        bool online, takesTimeLeft;
        std::chrono::milliseconds limit, given;
    };
    const Row rows[] = {
        {true, false, 20s, TranslationGateway::ServiceShare},
        {true, true, 20s, 20s},   // a model answering slowly ends its calls by itself
        {false, false, 20s, 20s}, // Apertium on this machine
        {true, false, 5s, 5s},
    };
    for (const Row &row : rows) {
        TranslationGateway gateway(row.limit);
        auto backend =
            std::make_unique<ScriptedBackend>("s", std::nullopt, row.online, row.takesTimeLeft);
        const ScriptedBackend &asked = *backend;
        gateway.add(std::move(backend));
        const Clock::time_point start = Clock::now();
        gateway.translate("text", {"zh-CN", "en"});
        const auto given = asked.lastDeadline() - start;
        EXPECT_GE(given, row.given - 1s) << row.limit.count() << row.online;
        EXPECT_LE(given, row.given + 1s) << row.limit.count() << row.online;
    }
}

TEST(ServiceShare, AFailureOfTheNetworkOrTheVendorOrAKeyIsPassedOverNextTime)
{
    struct Row
    {
        Translation failure;
        const char *second; // the backends asked by the next call
    };
    const Row rows[] = {
        {Translation::noAnswer("google-web: no answer in time"), "edge"},
        {Translation::noAnswer("google-web: too many requests (429)"), "edge"},
        {Translation::badAnswer("google-web: a web page, not a translation"), "edge"},
        {Translation::badAnswer("google refused the key (403)"), "edge"},
        {Translation::refusedRequest("google-web: text too long"), "google-web,edge"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.failure.reason);
        TranslationGateway gateway;
        gateway.add(std::make_unique<ScriptedBackend>("google-web", row.failure));
        gateway.add(std::make_unique<ScriptedBackend>("edge", std::nullopt));
        gateway.add(std::make_unique<ScriptedBackend>("glossary", std::nullopt, false));
        EXPECT_EQ(tried(gateway.translate("text", {"zh-CN", "en"})), "google-web,edge");
        const GatewayAnswer next = gateway.translate("text", {"zh-CN", "en"});
        EXPECT_EQ(tried(next), row.second);
        EXPECT_EQ(next.translation.text, "edge");
        EXPECT_EQ(gateway.skip("google-web").has_value(),
                  row.failure.fault != Translation::Fault::Request);
    }
}

TEST(ServiceShare, AfterThePauseAProbeInTheBackgroundBringsTheServiceBack)
{
    // Fails its first call, then answers; keeps the texts it was asked.
    class Recovering : public TranslationBackend
    {
    public:
        std::string name() const override { return "edge"; }
        Offer offers(const LanguagePair &) const override { return Offer::Yes; }
        Translation translate(const std::string &utf8, const LanguagePair &,
                              Clock::time_point) const override
        {
            const std::lock_guard lock(m_mutex);
            m_asked.push_back(utf8);
            return m_asked.size() == 1 ? Translation::noAnswer("edge: no answer in time")
                                       : Translation::translated("edge");
        }
        std::vector<std::string> asked() const
        {
            const std::lock_guard lock(m_mutex);
            return m_asked;
        }

    private:
        mutable std::mutex m_mutex;
        mutable std::vector<std::string> m_asked;
    };
    TranslationGateway gateway(20s, [](int) { return Clock::duration(50ms); });
    auto backend = std::make_unique<Recovering>();
    const Recovering &edge = *backend;
    gateway.add(std::move(backend));
    gateway.add(std::make_unique<ScriptedBackend>("glossary", std::nullopt, false));
    const auto text = [&] {
        return gateway.translate("我的文字", {"zh-CN", "en"}).translation.text;
    };
    EXPECT_EQ(text(), "glossary");
    EXPECT_EQ(text(), "glossary") << "passed over during its pause";
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(text(), "glossary") << "after the pause the click is not the one to wait";
    for (const Clock::time_point until = Clock::now() + 5s;
         gateway.skip("edge") && Clock::now() < until;)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(text(), "edge");
    const std::vector<std::string> expected{"我的文字", "Hello", "我的文字"};
    EXPECT_EQ(edge.asked(), expected) << "the probe sends no user's text";
}

TEST(ServiceOrder, KeyedThenKeylessThenApertiumAndTheGoogleEnginesVendor)
{
    const std::vector<std::pair<std::string, std::optional<size_t>>> named{
        {"apertium", std::nullopt},
        {"edge", std::nullopt},
        {"deepl", 4},
        {"google-web", 9},
        {"baidu", 1},
        {"upstream", std::nullopt},
        {"volcengine-web", std::nullopt}};
    std::string got;
    for (const std::string &name : defaultServiceOrder(named))
        got += (got.empty() ? "" : ",") + name;
    EXPECT_EQ(got, "baidu,deepl,upstream,google-web,edge,volcengine-web,apertium");

    // The Google engine asks Google Cloud with a key, else the keyless endpoint by its name.
    for (const bool keySet : {true, false}) {
        TranslationGateway gateway;
        gateway.add(std::make_unique<ScriptedBackend>("edge", std::nullopt));
        gateway.add(std::make_unique<ScriptedBackend>("google", std::nullopt));
        gateway.add(std::make_unique<ScriptedBackend>("google-web", std::nullopt));
        gateway.setVendor(Engine::Google, googleVendor(keySet));
        EXPECT_EQ(gateway.translate("text", {"zh-CN", "en"}, Engine::Google).translation.text,
                  keySet ? "google" : "google-web");
    }
}

namespace {

// The site server with Google Cloud at a given address and the glossary behind it.
class ServiceAtAddress : public SiteServerFixture
{
protected:
    void SetUp() override {}

    void startWithGoogleAt(const std::string &address)
    {
        SiteOptions o;
        o.services.set("google-key", "GoogleSecret9");
        o.services.set("google-url", address);
        start(o, false);
    }
    // Google引擎 中文(简体) → 英语 as the window sends it: who answered, and how long it took.
    std::pair<std::string, Clock::duration> click()
    {
        const mirel::Sites sites = mirel::Sites::local(quint16(port()));
        const auto request =
            mirel::buildEngineRequest(QStringLiteral("我每天早上喜欢读书。"), 0,
                                      QStringLiteral("中文(简体)"), QStringLiteral("英语"), sites);
        EXPECT_TRUE(request);
        const Clock::time_point start = Clock::now();
        const auto res = sendAsProgram(*request);
        return {res ? res->get_header_value("X-Translated-By") : "no answer", Clock::now() - start};
    }
};

} // namespace

TEST_F(ServiceAtAddress, AServiceThatHangsCostsOneWaitAndOneThatCannotBeReachedNone)
{
    // Accepts, then answers nothing until the end of the test.
    FakeHttpServer hanging;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    hanging.server().Post(".*", [&](const httplib::Request &, httplib::Response &res) {
        std::unique_lock lock(mutex);
        ended.wait_for(lock, 30s, [&] { return done; });
        res.status = 503;
    });
    hanging.start();
    startWithGoogleAt(hanging.address() + "/language/translate/v2");
    const auto [firstBy, first] = click();
    EXPECT_EQ(firstBy.rfind("google failed (503) ", 0), 0u) << firstBy;
    EXPECT_LT(first, 10s) << "the answer limit is 8 s";
    const auto [nextBy, next] = click();
    EXPECT_EQ(nextBy.find("google"), std::string::npos) << nextBy;
    EXPECT_LT(next, 2s);
    EXPECT_NE(get("/201072928.html")->body.find("Google 云翻译（在线，用你的密钥）：暂不使用，"),
              std::string::npos);
    shutDown();
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    ended.notify_all();

    // Nothing listens there: the connection made at the start fails, and a click five
    // seconds later goes to the glossary at once.
    std::string closed;
    {
        FakeHttpServer gone;
        gone.start();
        closed = gone.address();
    }
    startWithGoogleAt(closed + "/language/translate/v2");
    std::this_thread::sleep_for(5s);
    for (const auto limit : {1500ms, 1500ms}) {
        const auto [by, time] = click();
        EXPECT_EQ(by.rfind("glossary ", 0), 0u) << by;
        EXPECT_LT(time, limit);
    }
}

TEST_F(ServiceAtAddress, OfflineNothingLeavesTheMachine)
{
    FakeHttpServer google;
    std::atomic<int> asked = 0;
    google.server().set_pre_routing_handler([&](const httplib::Request &, httplib::Response &) {
        ++asked;
        return httplib::Server::HandlerResponse::Unhandled;
    });
    google.start();
    SiteOptions o;
    o.services.set("online", "off");
    o.services.set("google-key", "GoogleSecret9");
    o.services.set("google-url", google.address() + "/language/translate/v2");
    o.services.set("google-web-url", google.address() + "/translate_a/single");
    start(o, false);
    EXPECT_EQ(click().first.rfind("glossary ", 0), 0u);
    EXPECT_EQ(asked, 0);
    EXPECT_NE(get("/201072928.html")->body.find("在线翻译服务未开启"), std::string::npos);
}
