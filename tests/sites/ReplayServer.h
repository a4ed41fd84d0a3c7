#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A loopback server that answers each request with a recorded raw HTTP response and
// keeps the bytes of every request it read. It can also misbehave as a service does:
// trickle its answer, close the connection half-way, or say nothing at all.
class ReplayServer
{
public:
    enum class Delivery {
        Whole,      // the answer at once
        Trickle,    // the head at once, then the body a byte at a time, slowly
        CloseEarly, // half of the answer's head, then the connection closes
        Silent,     // reads the request and never answers
    };
    struct Answer
    {
        std::string bytes; // a whole raw response, CRLF head included
        Delivery delivery = Delivery::Whole;
    };

    ReplayServer();
    ~ReplayServer();
    ReplayServer(const ReplayServer &) = delete;
    ReplayServer &operator=(const ReplayServer &) = delete;

    // "http://127.0.0.1:<port>"
    std::string address() const;
    // The answer to every request whose target (path and query) starts with prefix; the
    // longest prefix given wins, "" answers the rest.
    void answer(const std::string &prefix, Answer answer);
    // Every request read so far, whole: request line, head, body.
    std::vector<std::string> requests() const;

private:
    void serve();
    void converse(int socket);
    Answer answerFor(const std::string &request) const;

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::map<std::string, Answer> m_answers;
    std::vector<std::string> m_requests;
    std::vector<std::thread> m_conversations; // touched by the serving thread only
    std::thread m_thread;
};

// A recorded answer file made into the bytes sent: the head's LF line ends become CRLF,
// {{KEY}} becomes key everywhere, and a Content-Length is added to a head without one.
std::string replayBytes(const std::string &recorded, const std::string &key);
