#pragma once

#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// How a fake translation service answers a translation request.
enum class FakeMode { Normal, ServerError, MalformedJson, Oversized, Slow, Trickle };

// A translation service stand-in on a free loopback port, served from a thread of the
// test. It records the translation requests it was sent.
class FakeService
{
public:
    // language list: GET /listPairs for APy, GET /languages for LibreTranslate.
    enum class Kind { Apy, LibreTranslate };
    FakeService(Kind kind, std::string languageList);
    ~FakeService();
    FakeService(const FakeService &) = delete;
    FakeService &operator=(const FakeService &) = delete;

    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // The translation every request gets (normal mode), as JSON string content.
    void answer(std::string text, FakeMode mode = FakeMode::Normal);
    std::vector<httplib::Params> translations() const;
    // APy: this pair's pipeline fails (APy's 503 "internal error").
    void failPair(std::string langpair);
    // Whether the language list is answered (else 503, as a service still starting).
    void listReady(bool ready);

private:
    void translate(const httplib::Request &req, httplib::Response &res);

    Kind m_kind;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::string m_text = "translated";
    FakeMode m_mode = FakeMode::Normal;
    std::vector<httplib::Params> m_seen;
    std::string m_failingPair;
    bool m_listReady = true;
};

// APy's pair list with these source|target pairs.
std::string apyPairList(const std::vector<std::pair<std::string, std::string>> &pairs);
// A LibreTranslate language list: each code with its targets.
std::string
libreLanguages(const std::vector<std::pair<std::string, std::vector<std::string>>> &list);
