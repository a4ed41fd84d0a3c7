#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

// A loopback HTTP server for a fake service: handlers go on server(), then start() binds
// a free port and serves from a thread until the object goes.
class FakeHttpServer
{
public:
    FakeHttpServer() { m_server.set_keep_alive_timeout(1); }
    ~FakeHttpServer()
    {
        m_server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }
    FakeHttpServer(const FakeHttpServer &) = delete;
    FakeHttpServer &operator=(const FakeHttpServer &) = delete;

    httplib::Server &server() { return m_server; }
    void start()
    {
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // A stop before the server runs would be missed, and its thread never end.
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};
