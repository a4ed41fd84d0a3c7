// The gateway's order for a pair (exact converters, the engine's own vendor, the rest),
// the hand-over on failure within one time limit, and 501 against 503; the background
// pair list; settings lines as people write them.
#include "sites/gateway/TranslationGateway.h"
#include "sites/http/PairList.h"
#include "sites/setup/ServiceOrder.h"
#include "sites/setup/SitesSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

// A backend that offers what it is told and answers with its name, fails with a status,
// or sleeps past the deadline.
class StubBackend : public TranslationBackend
{
public:
    StubBackend(std::string name, Offer offer, int failWith = 0, bool isExact = false)
        : m_name(std::move(name)), m_offer(offer), m_fail(failWith), m_exact(isExact)
    {
    }
    std::string name() const override { return m_name; }
    Offer offers(const LanguagePair &) const override { return m_offer; }
    bool exact() const override { return m_exact; }
    Translation translate(const std::string &, const LanguagePair &,
                          Clock::time_point deadline) const override
    {
        if (m_fail == -1) {
            std::this_thread::sleep_until(deadline);
            return Translation::noAnswer(m_name + " timed out");
        }
        if (m_fail)
            return {Translation::Outcome::Failed, {}, m_fail, m_name + " failed"};
        return Translation::translated(m_name);
    }

private:
    std::string m_name;
    Offer m_offer;
    int m_fail;
    bool m_exact;
};

struct Row
{
    const char *backends; // name:offer[:status], offer y/n/? ; "x" after the name: exact
    std::optional<Engine> engine;
    int status;        // of the answer
    const char *text;  // the answer's text, or its reason
    const char *tried; // the backends asked, in order
};

std::unique_ptr<TranslationGateway> gatewayOf(std::string_view list,
                                              std::chrono::milliseconds limit = 2000ms)
{
    auto gateway = std::make_unique<TranslationGateway>(limit);
    gateway->setVendor(Engine::Relay, "baidu");
    gateway->setVendor(Engine::Youdao, "youdao");
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(' ', start);
        if (end == std::string_view::npos)
            end = list.size();
        const std::string item(list.substr(start, end - start));
        start = end + 1;
        const size_t colon = item.find(':');
        std::string name = item.substr(0, colon);
        const bool isExact = name.back() == 'x';
        if (isExact)
            name.pop_back();
        const char offer = item[colon + 1];
        const int fail = item.size() > colon + 2 ? std::stoi(item.substr(colon + 3)) : 0;
        gateway->add(std::make_unique<StubBackend>(name,
                                                   offer == 'y'   ? Offer::Yes
                                                   : offer == 'n' ? Offer::No
                                                                  : Offer::NotKnownYet,
                                                   fail, isExact));
    }
    return gateway;
}

} // namespace

TEST(Routing, OrderHandOverAndTheAnswerWhenNoneTranslates)
{
    const Row rows[] = {
        {"deepl:y apertium:y glossary:y", Engine::Google, 200, "deepl", "deepl"},
        {"deepl:y baidu:y glossary:y", Engine::Relay, 200, "baidu", "baidu"},
        {"deepl:y baidu:n glossary:y", Engine::Relay, 200, "deepl", "deepl"},
        {"deepl:y baidu:y openccx:y", Engine::Relay, 200, "opencc", "opencc"},
        {"openccx:n deepl:y", Engine::Relay, 200, "deepl", "deepl"},
        {"baidu:y:503 deepl:y:429 apertium:y", Engine::Relay, 200, "apertium",
         "baidu,deepl,apertium"},
        {"baidu:y:502 deepl:y:503", Engine::Relay, 502, "baidu failed", "baidu,deepl"},
        {"deepl:n apertium:n glossary:n", Engine::Google, 501,
         "no translation engine for zh-CN to en", ""},
        {"deepl:? apertium:n", Engine::Google, 503,
         "no translation engine ready yet for zh-CN to en", ""},
        {"deepl:? apertium:y:502", Engine::Google, 502, "apertium failed", "apertium"},
    };
    for (const Row &row : rows) {
        const auto gateway = gatewayOf(row.backends);
        const GatewayAnswer answer = gateway->translate("text", {"zh-CN", "en"}, row.engine);
        std::string tried;
        for (const Attempt &attempt : answer.attempts)
            tried += (tried.empty() ? "" : ",") + attempt.backend;
        SCOPED_TRACE(row.backends);
        EXPECT_EQ(answer.translation.status, row.status);
        EXPECT_EQ(row.status == 200 ? answer.translation.text : answer.translation.reason,
                  row.text);
        EXPECT_EQ(tried, row.tried);
    }
}

TEST(Routing, OneTimeLimitForEveryBackendAsked)
{
    const auto gateway = gatewayOf("slow:y:-1 glossary:y", 300ms);
    const auto start = Clock::now();
    const GatewayAnswer answer = gateway->translate("text", {"en", "zh-CN"});
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(answer.translation.status, 503);
    EXPECT_EQ(answer.attempts.size(), 1u);
    EXPECT_NE(answer.note().find("slow failed (503) "), std::string::npos) << answer.note();
}

TEST(ServiceListTest, AskedAgainUntilItAnswersThenKnown)
{
    std::atomic<int> calls = 0;
    PairList list("svc",
                  [&calls](Clock::time_point) -> PairList::Load {
                      if (++calls < 3)
                          return {std::nullopt, "down"};
                      return {ServicePairs{{"en", "es"}}, {}};
                  },
                  {1s, 20ms, 40ms, 1h});
    EXPECT_EQ(list.pairs(), nullptr);
    list.start();
    ASSERT_TRUE(list.waitKnown(Clock::now() + 2s));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(list.pairs()->count({"en", "es"}), 1u);
    EXPECT_EQ(list.lastError(), "");
    list.askAgain();
    for (int i = 0; i < 100 && calls < 4; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(calls, 4);
}

TEST(SettingLines, AsPeopleWriteThem)
{
    struct LineRow
    {
        const char *line, *name, *value, *error;
    };
    const LineRow rows[] = {
        {"apertium = http://127.0.0.1:2737     # an APy", "apertium", "http://127.0.0.1:2737", ""},
        {"api-key=\"a#b \\\" c\"  # quoted", "api-key", "a#b \" c", ""},
        {"  upstream\t=\thttp://h:5000  ", "upstream", "http://h:5000", ""},
        {"deepl-key = abc#def", "deepl-key", "abc#def", ""},
        {"order = deepl, baidu", "order", "deepl, baidu", ""},
        {"port = 1", "", "", "unknown setting port"},
        {"upstream http://h", "", "", "expected name = value"},
        {"api-key = \"open", "", "",
         "expected a value closed by \" (and at most a # comment after it)"},
    };
    for (const LineRow &row : rows) {
        const SettingLine line = parseSettingLine(row.line);
        EXPECT_EQ(line.name, row.name) << row.line;
        EXPECT_EQ(line.value, row.value) << row.line;
        EXPECT_EQ(line.error, row.error) << row.line;
    }
}

TEST(ServiceOrder, TheUsersOrderThenTheDefault)
{
    struct OrderRow
    {
        std::vector<std::string> configured;
        const char *order;
        const char *expected; // the order, or the error
    };
    const std::vector<std::string_view> known{"baidu", "deepl", "upstream", "apertium"};
    const OrderRow rows[] = {
        {{"deepl", "baidu", "apertium"}, "", "deepl,baidu,apertium"},
        {{"deepl", "baidu", "apertium"}, "baidu", "baidu,deepl,apertium"},
        {{"deepl", "baidu", "apertium"}, "apertium, deepl", "apertium,deepl,baidu"},
        {{"deepl", "apertium"}, "baidu deepl,deepl", "deepl,apertium"},
        {{"upstream"}, " opencc ,glossary,\tupstream ", "upstream"},
        {{"deepl"},
         "deepl, bing",
         "order names an unknown service \"bing\" (known: opencc, baidu, deepl, upstream, "
         "apertium, glossary)"},
    };
    for (const OrderRow &row : rows) {
        std::string got;
        try {
            for (const std::string &name : serviceOrder(row.configured, row.order, known))
                got += (got.empty() ? "" : ",") + name;
        } catch (const std::invalid_argument &e) {
            got = e.what();
        }
        EXPECT_EQ(got, row.expected) << row.order;
    }
}
