// A backend's host name is looked up under the call's deadline; the call then goes to the
// address it found, with the name kept in the Host header.
#include "sites/http/BoundedHttp.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;
using namespace mirel::siteserver;

namespace {

// A loopback service that answers every GET with the Host header it was sent.
class HostEcho
{
public:
    HostEcho()
    {
        m_server.set_keep_alive_timeout(1);
        m_server.Get(".*", [](const httplib::Request &req, httplib::Response &res) {
            res.set_content(req.get_header_value("Host"), "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~HostEcho()
    {
        m_server.stop();
        m_thread.join();
    }
    int port() const { return m_port; }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

ServiceAddress at(const std::string &host, int port)
{
    return *parseServiceAddress("http://" + host + ":" + std::to_string(port));
}

} // namespace

// Nothing listens on 127.0.0.2: the next address is tried.
TEST(NameLookup, TheCallGoesToAnAddressFoundWithTheNameInTheHostHeader)
{
    const HostEcho echo;
    const auto calls = std::make_shared<std::atomic<int>>(0);
    const HttpConnections connections(
        at("service.test", echo.port()), [calls](const std::string &host) {
            ++*calls;
            return host == "service.test" ? std::vector<std::string>{"127.0.0.1"}
                                          : std::vector<std::string>{};
        });
    for (int i = 0; i < 2; ++i) {
        const HttpReply reply = connections.call({"GET", "/", {}, {}}, Clock::now() + 2s);
        EXPECT_EQ(reply.failure, HttpReply::Failure::None) << reply.detail;
        EXPECT_EQ(reply.body, "service.test:" + std::to_string(echo.port()));
    }
    EXPECT_EQ(*calls, 1); // the address is kept
    const HttpReply unknown = callBounded(
        at("other.test", echo.port()), {"GET", "/", {}, {}}, Clock::now() + 2s, MaxBackendAnswer,
        [](const std::string &) { return std::vector<std::string>{}; });
    EXPECT_EQ(unknown.failure, HttpReply::Failure::Unreachable);
    EXPECT_EQ(unknown.detail, "cannot find host other.test");
}

TEST(NameLookup, ASlowResolverIsLeftBehindAtTheDeadline)
{
    const HostEcho echo;
    const HttpConnections connections(at("slow.test", echo.port()), [](const std::string &) {
        std::this_thread::sleep_for(1500ms);
        return std::vector<std::string>{"127.0.0.1"};
    });
    const auto start = Clock::now();
    const HttpReply reply = connections.call({"GET", "/", {}, {}}, start + 200ms);
    EXPECT_LT(Clock::now() - start, 400ms);
    EXPECT_EQ(reply.failure, HttpReply::Failure::TimedOut);
    EXPECT_EQ(reply.detail, "no address for slow.test in time");
}

// The system's resolver, as a user's settings name a service.
TEST(NameLookup, LocalhostThroughTheSystemResolver)
{
    const HostEcho echo;
    const HttpReply reply =
        callBounded(at("localhost", echo.port()), {"GET", "/", {}, {}}, Clock::now() + 2s);
    EXPECT_EQ(reply.failure, HttpReply::Failure::None) << reply.detail;
    EXPECT_EQ(reply.body, "localhost:" + std::to_string(echo.port()));
    EXPECT_TRUE(isNumericHost("127.0.0.1"));
    EXPECT_TRUE(isNumericHost("[::1]"));
    EXPECT_FALSE(isNumericHost("localhost"));
}
