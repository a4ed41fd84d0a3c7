#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A translation vendor's API stand-in on a free loopback port, written from the vendor's
// documentation: it checks the account and the signature, answers the documented JSON
// (errors too) and records every request it was sent.
//   Baidu:  POST /api/trans/vip/translate  (appid, key)
//   Youdao: POST /api                      (appKey, appSecret)
//   Google: POST /language/translate/v2    (key; id unused)
class FakeVendor
{
public:
    enum class Kind { Baidu, Youdao, Google };
    using Translate = std::function<std::string(const std::string &)>;

    FakeVendor(Kind kind, std::string id, std::string secret);
    ~FakeVendor();
    FakeVendor(const FakeVendor &) = delete;
    FakeVendor &operator=(const FakeVendor &) = delete;

    // The translate endpoint's full address.
    std::string address() const;
    // How a text is translated: Baidu line by line, the others the whole text. By
    // default "<" + text + ">".
    void translateWith(Translate translate);
    // Every request is refused (or only the next `times`): Baidu's error_code, Youdao's
    // errorCode (with HTTP 200), or for Google the HTTP status of a documented error.
    // Empty: answer again.
    void refuse(std::string code, int times = -1);

    struct Request
    {
        httplib::Params fields; // form fields, and Google's key from the query
        std::chrono::steady_clock::time_point time;
    };
    std::vector<Request> requests() const;

private:
    void handle(const httplib::Request &req, httplib::Response &res);
    std::string answer(const httplib::Params &fields, int &status) const;

    Kind m_kind;
    std::string m_id;
    std::string m_secret;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    Translate m_translate;
    mutable std::string m_refusal; // taken by answer(), which counts the refused ones
    mutable int m_refusals = -1;   // requests still refused; -1: all
    std::vector<Request> m_requests;
};
