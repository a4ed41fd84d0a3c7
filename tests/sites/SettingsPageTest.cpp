// The settings page: only this user's own page may change a setting, every refusal ends
// its connection, a saved key is used at once and never shown again.
#include "sites/pages/SettingsPage.h"
#include "FakeServices.h"
#include "SiteServerFixture.h"

#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <regex>
#include <sstream>

using namespace std::chrono_literals;
using mirel::siteserver::Clock;
using mirel::siteserver::SiteOptions;

namespace {

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Everything the server sends until it closes the connection, or "(still open)" at the end.
std::string readUntilClosed(int fd, std::chrono::milliseconds limit)
{
    std::string bytes;
    const auto until = Clock::now() + limit;
    char buffer[4096];
    while (Clock::now() < until) {
        pollfd poll{fd, POLLIN, 0};
        if (::poll(&poll, 1, 50) <= 0)
            continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return bytes;
        bytes.append(buffer, size_t(n));
    }
    return bytes + "(still open)";
}

std::string readFile(const std::filesystem::path &file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace

class SettingsPage : public SiteServerFixture
{
protected:
    void SetUp() override
    {
        std::ofstream(file) << "# mine\nsomeday = later\napi-key = old-key-0001\n";
        start(options());
        const auto page = get("/settings");
        ASSERT_TRUE(page);
        std::smatch match;
        ASSERT_TRUE(std::regex_search(page->body, match,
                                      std::regex("name=\"token\" value=\"([0-9a-f]{64})\"")));
        token = match[1];
    }

    SiteOptions options() const
    {
        SiteOptions o;
        o.services.set("api-key", "old-key-0001");
        o.settingsFile = file;
        o.backendLimit = 5s;
        return o;
    }

    // The headers of this server's own page posting a form.
    httplib::Headers own() const { return {{"Origin", base()}}; }

    std::string form(const std::string &fields) const { return "token=" + token + "&" + fields; }

    // The translation of the engine form of the window (Google's) for 你好 → English.
    httplib::Result translated() const
    {
        return post("/", "js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=" +
                             formValue("你好") + "&file=&sl=zh-CN&tl=en");
    }

    const QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath(QStringLiteral("sites.conf")).toStdString();
    std::string token;
    FakeService libre{FakeService::Kind::LibreTranslate,
                      libreLanguages({{"zh", {"en"}}, {"en", {"zh"}}})};
};

TEST_F(SettingsPage, EveryRefusalChangesNothingAndClosesItsConnection)
{
    const std::string before = readFile(file);
    const std::string host = "127.0.0.1:" + std::to_string(port());
    const std::string body = form("group=upstream&upstream=" + formValue(libre.address()));
    struct Row
    {
        const char *what;
        std::string headers;
        std::string body;
        std::string reason;
    };
    const std::string formType = "Content-Type: application/x-www-form-urlencoded\r\n";
    const std::string origin = "Origin: " + base() + "\r\n";
    const Row rows[] = {
        {"no token", origin + formType, "group=upstream&upstream=http://127.0.0.1:1",
         "refused: the settings page's token is wrong"},
        {"wrong token", origin + formType,
         "token=" + std::string(64, '0') + "&group=upstream&upstream=http://127.0.0.1:1",
         "refused: the settings page's token is wrong"},
        {"foreign origin", "Origin: http://attacker.example\r\n" + formType, body,
         "refused: a page of another origin"},
        {"foreign referer", "Referer: http://attacker.example/" + host + "/\r\n" + formType, body,
         "refused: a page of another origin"},
        {"no origin, no referer", formType, body, "refused: neither Origin nor Referer"},
        {"not a form", origin + "Content-Type: text/plain\r\n", body,
         "refused: not a form (application/x-www-form-urlencoded)"},
    };
    for (const Row &row : rows) {
        const int fd = connectTo(port());
        ASSERT_GE(fd, 0);
        const std::string request =
            "POST /settings HTTP/1.1\r\nHost: " + host + "\r\n" + row.headers +
            "Content-Length: " + std::to_string(row.body.size()) + "\r\n\r\n" + row.body;
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        const std::string answer = readUntilClosed(fd, 10s);
        ::close(fd);
        EXPECT_EQ(answer.rfind("HTTP/1.1 403 Forbidden\r\n", 0), 0u) << row.what << answer;
        EXPECT_NE(answer.find("\r\nConnection: close\r\n"), std::string::npos) << row.what;
        EXPECT_EQ(answer.substr(answer.find("\r\n\r\n") + 4), row.reason + "\n") << row.what;
    }
    // A foreign Host is refused before any route.
    const auto rebound = post("/settings", body, {{"Origin", base()}, {"Host", "evil:1"}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(gateway().find("upstream"), nullptr);
}

TEST_F(SettingsPage, ARefusedBodyIsNeverReadAsARequest)
{
    // A page elsewhere posts with a foreign Origin; its body, sent a moment after the
    // headers, is itself a complete request of the server's own.
    const std::string host = "127.0.0.1:" + std::to_string(port());
    const std::string inner = "POST / HTTP/1.1\r\nHost: " + host +
                              "\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                              "Content-Length: 5\r\n\r\nq=abc";
    const int fd = connectTo(port());
    ASSERT_GE(fd, 0);
    const std::string head = "POST / HTTP/1.1\r\nHost: " + host +
                             "\r\nOrigin: http://attacker.example\r\n"
                             "Content-Type: text/plain\r\nContent-Length: " +
                             std::to_string(inner.size()) + "\r\n\r\n";
    ::send(fd, head.data(), head.size(), MSG_NOSIGNAL);
    std::this_thread::sleep_for(200ms);
    ::send(fd, inner.data(), inner.size(), MSG_NOSIGNAL);
    const std::string answer = readUntilClosed(fd, 10s);
    ::close(fd);
    EXPECT_EQ(answer, "HTTP/1.1 403 Forbidden\r\nConnection: close\r\nContent-Length: 34\r\n"
                      "Content-Type: text/plain; charset=utf-8\r\n"
                      "Keep-Alive: timeout=5, max=5\r\n\r\n"
                      "refused: a page of another origin\n");
}

TEST_F(SettingsPage, AnotherUsersConnectionEndsBeforeAByteIsRead)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to open a connection as another user";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // As nobody: a connection that sends nothing is ended by the server.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = connectTo(port());
        pollfd poll{fd, POLLIN, 0};
        char byte = 0;
        const bool ended = fd >= 0 && ::poll(&poll, 1, 10000) == 1 && ::recv(fd, &byte, 1, 0) == 0;
        ::_exit(ended ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // This user's still is served.
    const auto page = get("/settings");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
}

TEST_F(SettingsPage, ASavedKeyIsUsedAtOnceAndNeverShownAgain)
{
    const std::string key = "fresh-secret-key-9876";
    libre.answer("Hello from the fake");
    EXPECT_EQ(translated()->body.find("Hello from the fake"), std::string::npos);

    // Tried first: the fake answers, nothing is written.
    const std::string fields =
        "group=upstream&upstream=" + formValue(libre.address()) + "&api-key=" + formValue(key);
    const auto tried = post("/settings/try", form(fields), own());
    ASSERT_TRUE(tried);
    EXPECT_EQ(tried->status, 200) << tried->body;
    EXPECT_NE(tried->body.find("译文：<b>Hello from the fake</b>"), std::string::npos);
    EXPECT_EQ(readFile(file), "# mine\nsomeday = later\napi-key = old-key-0001\n");

    const auto saved = post("/settings", form(fields), own());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->status, 200);
    EXPECT_EQ(saved->get_header_value("Content-Security-Policy"),
              "default-src 'none'; style-src 'self' 'unsafe-inline'; form-action 'self'; "
              "frame-ancestors 'none'");
    EXPECT_EQ(saved->get_header_value("X-Frame-Options"), "DENY");
    EXPECT_EQ(readFile(file), "# mine\nsomeday = later\napi-key = " + key +
                                  "\nupstream = " + libre.address() + "\n");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600));

    const auto answer = translated();
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->body.find("Hello from the fake"), std::string::npos) << answer->body;
    ASSERT_FALSE(libre.translations().empty());
    const httplib::Params sent = libre.translations().back();
    EXPECT_EQ(sent.find("api_key")->second, key);

    // The page shows that it is set, its last four at most; no page, header or error
    // text holds it.
    const auto page = get("/settings");
    EXPECT_NE(page->body.find("已设置（…9876）"), std::string::npos);
    std::vector<httplib::Response> answers{*page, *saved, *tried};
    for (const char *other : {"/201072928.html", "/"})
        answers.push_back(*get(other));
    answers.push_back(*post("/settings", form("group=upstream&upstream=bad"), own()));
    EXPECT_EQ(answers.back().status, 400);
    for (const httplib::Response &res : answers) {
        EXPECT_EQ(res.body.find(key.substr(0, 12)), std::string::npos) << res.body;
        for (const auto &[name, value] : res.headers)
            EXPECT_EQ(value.find(key.substr(0, 12)), std::string::npos) << name;
    }

    // Switched off: its settings go, and it is no longer asked.
    const auto off = post("/settings", form("group=upstream&forget=1"), own());
    ASSERT_TRUE(off);
    EXPECT_EQ(readFile(file), "# mine\nsomeday = later\n");
    EXPECT_EQ(gateway().find("upstream"), nullptr);
}

TEST_F(SettingsPage, RequestsUnderWayKeepTheirEnginesAcrossASave)
{
    libre.answer("slow answer", FakeMode::Slow);
    ASSERT_EQ(
        post("/settings", form("group=upstream&upstream=" + formValue(libre.address())), own())
            ->status,
        200);
    std::vector<std::future<httplib::Result>> underWay;
    for (int i = 0; i < 4; ++i)
        underWay.push_back(std::async(std::launch::async, [this] { return translated(); }));
    std::this_thread::sleep_for(100ms);
    // Saved while they wait: the service is switched off for later requests.
    ASSERT_EQ(post("/settings", form("group=upstream&forget=1"), own())->status, 200);
    for (auto &request : underWay) {
        const auto res = request.get();
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
        EXPECT_NE(res->body.find("slow answer"), std::string::npos) << res->body;
    }
    EXPECT_EQ(translated()->body.find("slow answer"), std::string::npos);
}
