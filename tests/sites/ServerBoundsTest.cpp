// The site server under load: long passages on every engine and forms past the limit
// refused unread; pages that answer at once while backend calls hang and connections sit
// idle; a server that listens before any service's list is read.
#include "FakeServices.h"
#include "SiteServerFixture.h"

#include "config/Sites.h"
#include "sites/core/RequestArrival.h"
#include "sites/server/ConnectionPool.h"
#include "sites/server/RequestBody.h"
#include "sites/services/LibreTranslateBackend.h"
#include "translation/EngineRequest.h"
#include "translation/ResultExtraction.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using mirel::siteserver::Clock;
using mirel::siteserver::SiteOptions;

namespace {

// A loopback connection to a port, closed at the end.
class RawConnection
{
public:
    explicit RawConnection(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~RawConnection() { ::close(m_fd); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    bool connected() const { return m_connected; }
    bool send(std::string_view bytes) const
    {
        return ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    // Everything the server sends until it closes the connection or the time is up.
    std::string readUntilClosed(std::chrono::milliseconds limit) const
    {
        std::string bytes;
        const auto until = Clock::now() + limit;
        char buffer[4096];
        while (Clock::now() < until) {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0)
                continue;
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return bytes;
            bytes.append(buffer, size_t(n));
        }
        return bytes + "(still open)";
    }

private:
    int m_fd;
    bool m_connected = false;
};

std::chrono::microseconds timeOf(const std::function<void()> &call)
{
    const auto start = Clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
}

} // namespace

// A passage of 5,000 Chinese characters, encoded as the window encodes it, translates on
// every engine (through the glossary).
TEST_F(SiteServerFixture, LongPassageTranslatesOnEveryEngine)
{
    QString passage;
    for (int i = 0; i < 1000; ++i)
        passage += u"我喜欢茶。"_s;
    ASSERT_EQ(passage.size(), 5000);
    const mirel::Sites sites = mirel::Sites::local(quint16(port()));
    const struct
    {
        int engine;
        QString source, target;
    } engines[] = {{0, u"中文(简体)"_s, u"英语"_s},
                   {1, u"中文"_s, u"英语"_s},
                   {2, u"中文"_s, u"英语"_s},
                   {3, u"中文"_s, u"英语"_s}};
    for (const auto &e : engines) {
        SCOPED_TRACE(e.engine);
        const auto request =
            mirel::buildEngineRequest(passage, e.engine, e.source, e.target, sites);
        ASSERT_TRUE(request);
        const auto res = sendAsProgram(*request);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200) << res->body.substr(0, 200);
        const QString text =
            mirel::extractResult(e.engine, QByteArray::fromStdString(res->body), e.target, sites)
                .text;
        EXPECT_EQ(text.count(u"I like tea"_s), 1000) << text.left(80).toStdString();
    }
}

// A form past the limit is refused before it is read: by its Content-Length at once, a
// chunked one as it passes the limit; the connection is closed after the reason.
TEST_F(SiteServerFixture, FormPastTheLimitIsRefusedUnreadAndTheConnectionClosed)
{
    const std::string head = "POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port()) +
                             "\r\nContent-Type: application/x-www-form-urlencoded\r\n";
    const std::string reason = "form over 1048576 bytes: the passage is too long\n";
    {
        RawConnection peer(port());
        ASSERT_TRUE(peer.connected());
        // 300 MB announced, none sent.
        ASSERT_TRUE(peer.send(head + "Content-Length: 300000000\r\n\r\ntext=abc"));
        const std::string answer = peer.readUntilClosed(2s);
        EXPECT_EQ(answer.rfind("HTTP/1.1 413 ", 0), 0u) << answer;
        EXPECT_EQ(answer.substr(answer.size() - reason.size()), reason);
    }
    {
        RawConnection peer(port());
        ASSERT_TRUE(peer.connected());
        ASSERT_TRUE(peer.send(head + "Transfer-Encoding: chunked\r\n\r\n"));
        const std::string chunk = "10000\r\n" + std::string(0x10000, 'a') + "\r\n";
        for (int i = 0; i < 17; ++i) // 1,114,112 bytes
            ASSERT_TRUE(peer.send(chunk));
        ASSERT_TRUE(peer.send("0\r\n\r\n"));
        const std::string answer = peer.readUntilClosed(2s);
        EXPECT_EQ(answer.rfind("HTTP/1.1 413 ", 0), 0u) << answer.substr(0, 100);
        EXPECT_EQ(answer.substr(answer.size() - reason.size()), reason);
    }
    // A client that sends the whole form before it reads gets the reason too.
    const auto twoMegabytes = post("/translate", "i=" + std::string(2 << 20, 'a'));
    ASSERT_TRUE(twoMegabytes);
    EXPECT_EQ(twoMegabytes->status, 413);
    EXPECT_EQ(twoMegabytes->body, reason);
    // Just under the limit is read and checked as a form.
    const std::string form = "text=" + std::string(mirel::siteserver::MaxFormBody - 5, 'a');
    const auto res = post("/", form);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 400);
    EXPECT_EQ(res->body.rfind("missing form fields", 0), 0u) << res->body;
    // Another path reads no body at all.
    const auto other = post("/elsewhere", form);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->status, 404);
    EXPECT_EQ(other->body, "no such page: POST /elsewhere\n");
}

namespace {

// A LibreTranslate stand-in whose translations hang until released; its list answers.
class HangingUpstream
{
public:
    HangingUpstream()
    {
        m_server.new_task_queue = [] { return new httplib::ThreadPool(48); };
        m_server.set_keep_alive_timeout(1);
        m_server.Get("/languages", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(libreLanguages({{"en", {"zh"}}}), "application/json");
        });
        m_server.Post("/translate", [this](const httplib::Request &, httplib::Response &res) {
            std::unique_lock lock(m_mutex);
            ++m_waiting;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
            res.set_content(R"({"translatedText": "late"})", "application/json");
        });
        int listening = -1;
        m_server.set_socket_options([&listening](int sock) { listening = sock; });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        ::listen(listening, 64); // the library's queue of 5 would drop a burst's SYNs
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~HangingUpstream()
    {
        release();
        m_server.stop();
        m_thread.join();
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    bool waitForCalls(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [&] { return m_waiting >= count; });
    }
    void release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_waiting = 0;
    bool m_released = false;
};

std::string googleForm(std::string_view text, std::string_view sl, std::string_view tl)
{
    return "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" + formValue(text) +
           "&file=&sl=" + std::string(sl) + "&tl=" + std::string(tl);
}

} // namespace

// A site server whose only service hangs every translation until released.
class HangingBackendServer : public SiteServerFixture
{
protected:
    void SetUp() override
    {
        SiteOptions options;
        options.services.set("upstream", upstream.address());
        options.backendLimit = 10s;
        start(options);
    }

    // Posts count translations that wait on the service, returning once it holds them all;
    // each future gives its status (0: no answer).
    std::vector<std::future<int>> hang(int count)
    {
        std::vector<std::future<int>> calls;
        for (int i = 0; i < count; ++i)
            calls.push_back(std::async(std::launch::async, [this] {
                const auto res = post("/", googleForm("Hello", "en", "zh-CN"));
                return res ? res->status : 0;
            }));
        EXPECT_TRUE(upstream.waitForCalls(count));
        return calls;
    }

    HangingUpstream upstream;
};

// 32 requests wait on a backend that hangs and 32 connections sit idle; pages, the
// glossary, a pair no engine serves and the dictionary still answer at once (a stall was
// seconds; the bound leaves room for a busy machine).
TEST_F(HangingBackendServer, PagesAnswerAtOnceWhileBackendsHangAndConnectionsIdle)
{
    std::vector<std::future<int>> hanging = hang(32);
    std::vector<std::unique_ptr<RawConnection>> idle;
    for (int i = 0; i < 32; ++i) {
        idle.push_back(std::make_unique<RawConnection>(port()));
        ASSERT_TRUE(idle.back()->connected());
    }

    const struct
    {
        const char *what;
        std::function<int()> request;
        int status;
    } rows[] = {
        {"index", [this] { return get("/")->status; }, 200},
        {"glossary", [this] { return post("/", googleForm("你好", "zh-CN", "ja"))->status; }, 200},
        {"no engine", [this] { return post("/", googleForm("Hello", "en", "ko"))->status; }, 501},
        {"dictionary",
         [this] {
             return get("/search?tab=chn&keyfrom=dict.top&q=apple&btnG=%E6%90%9C+%E7%B4%A2&r=7")
                 ->status;
         },
         200},
        {"vendor page", [this] { return get("/201072928.html")->status; }, 200},
    };
    for (const auto &row : rows) {
        int status = 0;
        const auto time = timeOf([&] { status = row.request(); });
        EXPECT_EQ(status, row.status) << row.what;
        EXPECT_LT(time, 250ms) << row.what;
    }
    upstream.release();
    for (auto &call : hanging)
        EXPECT_EQ(call.get(), 200);
}

// A server told to stop (logout, SIGTERM) ends its requests waiting on a backend and its
// idle kept-alive connections at once instead of holding the end up for their time limits.
TEST_F(HangingBackendServer, StopEndsBackendCallsAndIdleConnectionsAtOnce)
{
    std::vector<std::future<int>> hanging = hang(4);
    RawConnection idle(port());
    ASSERT_TRUE(idle.connected());
    httplib::Client keptAlive("127.0.0.1", port());
    keptAlive.set_keep_alive(true);
    ASSERT_EQ(keptAlive.Get("/")->status, 200);

    EXPECT_LT(timeOf([this] { shutDown(); }), 1s);
    for (auto &call : hanging)
        EXPECT_EQ(call.wait_for(1s), std::future_status::ready);
}

// A request that waited for a thread has waited part of its time limit.
TEST(ConnectionPoolTest, ArrivalIsWhenTheConnectionWasAcceptedThenWhenEachHeadIsRead)
{
    mirel::siteserver::ConnectionPool pool(1);
    std::promise<void> firstRuns;
    pool.enqueue([&firstRuns] {
        firstRuns.set_value();
        std::this_thread::sleep_for(200ms);
    });
    firstRuns.get_future().wait();
    const Clock::time_point queued = Clock::now();
    Clock::time_point first, second, secondRead;
    pool.enqueue([&] {
        mirel::siteserver::markRequestArrival();
        first = mirel::siteserver::requestArrival();
        std::this_thread::sleep_for(20ms);
        secondRead = Clock::now();
        mirel::siteserver::markRequestArrival();
        second = mirel::siteserver::requestArrival();
    });
    pool.shutdown();
    EXPECT_LT(first - queued, 100ms); // a wait for the busy thread would be 200 ms
    EXPECT_GE(second, secondRead);
    EXPECT_EQ(pool.threads(), 0u);
}

// The server listens before a silent service's list is read; its pairs answer 503 until
// then and the glossary's answer at once. A service that was down at start is asked again
// and serves once it is up.
TEST_F(SiteServerFixture, ListsAreReadInTheBackground)
{
    // A service that takes connections and never answers.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(::listen(silent, 16), 0);
    ASSERT_EQ(::getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length), 0);

    SiteOptions options;
    options.services.set("upstream", "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    options.apertium = options.services.value("upstream");
    options.apertiumWait = 0ms;
    const auto started = timeOf([&] { start(options, false); });
    EXPECT_LT(started, 1s);
    const auto pending = timeOf([&] {
        const auto res = post("/", googleForm("Hello", "en", "ko"));
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 503) << res->body;
    });
    EXPECT_LT(pending, 250ms);
    const auto glossary =
        timeOf([&] { EXPECT_EQ(post("/", googleForm("你好", "zh-CN", "ja"))->status, 200); });
    EXPECT_LT(glossary, 250ms);
    ::close(silent); // resets the connections it held: the lists' reads end
    shutDown();

    // Down at start, up later.
    const int free = ::socket(AF_INET, SOCK_STREAM, 0);
    address.sin_port = 0;
    length = sizeof address;
    ASSERT_EQ(::bind(free, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(::getsockname(free, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const int freePort = ntohs(address.sin_port);
    ::close(free);
    const mirel::siteserver::LibreTranslateBackend backend(
        *mirel::siteserver::parseServiceAddress("http://127.0.0.1:" + std::to_string(freePort)), {},
        {1s, 20ms, 40ms, 1h});
    EXPECT_FALSE(backend.waitListKnown(Clock::now() + 100ms));
    EXPECT_EQ(backend.offers({"en", "zh-CN"}), mirel::siteserver::Offer::NotKnownYet);
    httplib::Server later;
    later.set_keep_alive_timeout(1);
    later.Get("/languages", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(libreLanguages({{"en", {"zh"}}}), "application/json");
    });
    ASSERT_TRUE(later.bind_to_port("127.0.0.1", freePort));
    std::thread serving([&later] { later.listen_after_bind(); });
    EXPECT_TRUE(backend.waitListKnown(Clock::now() + 2s));
    EXPECT_EQ(backend.offers({"en", "zh-CN"}), mirel::siteserver::Offer::Yes);
    EXPECT_EQ(backend.offers({"en", "ja"}), mirel::siteserver::Offer::No);
    later.stop();
    serving.join();
}
