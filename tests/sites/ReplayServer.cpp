#include "ReplayServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

constexpr int kPollMs = 50;
constexpr auto kTricklePause = std::chrono::milliseconds(200);

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The value of a head's Content-Length, 0 without one.
size_t contentLength(const std::string &head)
{
    const std::string low = lower(head);
    const size_t at = low.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return std::stoul(head.substr(at + 17, head.find("\r\n", at + 2) - at - 17));
}

} // namespace

std::string replayBytes(const std::string &recorded, const std::string &key)
{
    std::string text = recorded;
    for (size_t at = text.find("{{KEY}}"); at != std::string::npos;
         at = text.find("{{KEY}}", at + key.size()))
        text.replace(at, 7, key);
    const size_t blank = text.find("\n\n");
    std::string head = text.substr(0, blank);
    const std::string body = blank == std::string::npos ? std::string() : text.substr(blank + 2);
    std::string out;
    for (const char c : head) {
        if (c == '\n')
            out += '\r';
        if (c != '\r')
            out += c;
    }
    out += "\r\n";
    if (lower(out).find("\r\ncontent-length:") == std::string::npos)
        out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return out + "\r\n" + body;
}

ReplayServer::ReplayServer()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        throw std::runtime_error("replay server: no loopback port");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

ReplayServer::~ReplayServer()
{
    m_stopping = true;
    m_thread.join();
    for (std::thread &t : m_conversations)
        t.join();
    ::close(m_listener);
}

std::string ReplayServer::address() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

void ReplayServer::answer(const std::string &prefix, Answer answer)
{
    const std::lock_guard lock(m_mutex);
    m_answers[prefix] = std::move(answer);
}

std::vector<std::string> ReplayServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void ReplayServer::serve()
{
    while (!m_stopping) {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, kPollMs) <= 0)
            continue;
        const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket >= 0)
            m_conversations.emplace_back([this, socket] {
                converse(socket);
                ::close(socket);
            });
    }
}

ReplayServer::Answer ReplayServer::answerFor(const std::string &request) const
{
    const size_t start = request.find(' ') + 1;
    const std::string target = request.substr(start, request.find(' ', start) - start);
    const std::lock_guard lock(m_mutex);
    const Answer *best = nullptr;
    size_t bestLength = 0;
    for (const auto &[prefix, answer] : m_answers)
        if (target.starts_with(prefix) && (!best || prefix.size() >= bestLength)) {
            best = &answer;
            bestLength = prefix.size();
        }
    return best ? *best : Answer{replayBytes("HTTP/1.1 404 Not Found\n\n", ""), {}};
}

void ReplayServer::converse(int socket)
{
    // Waits for bytes to read; false when the server stops or the peer goes.
    const auto readMore = [&](std::string &into) {
        while (!m_stopping) {
            pollfd p{socket, POLLIN, 0};
            if (::poll(&p, 1, kPollMs) <= 0)
                continue;
            char buffer[16384];
            const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
            if (n <= 0)
                return false;
            into.append(buffer, size_t(n));
            return true;
        }
        return false;
    };
    const auto send = [&](std::string_view bytes) {
        while (!bytes.empty() && !m_stopping) {
            const ssize_t n = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(size_t(n));
        }
        return !m_stopping;
    };
    std::string pending;
    while (!m_stopping) {
        size_t headEnd;
        while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos)
            if (!readMore(pending))
                return;
        const size_t total = headEnd + 4 + contentLength(pending.substr(0, headEnd + 2));
        while (pending.size() < total)
            if (!readMore(pending))
                return;
        const std::string request = pending.substr(0, total);
        pending.erase(0, total);
        {
            const std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        const Answer answer = answerFor(request);
        const size_t bodyAt = answer.bytes.find("\r\n\r\n") + 4;
        switch (answer.delivery) {
        case Delivery::Whole:
            if (!send(answer.bytes))
                return;
            break;
        case Delivery::Trickle:
            if (!send(std::string_view(answer.bytes).substr(0, bodyAt)))
                return;
            for (size_t i = bodyAt; i < answer.bytes.size(); ++i) {
                if (!send(std::string_view(answer.bytes).substr(i, 1)))
                    return;
                for (auto waited = std::chrono::milliseconds(0); waited < kTricklePause;
                     waited += std::chrono::milliseconds(kPollMs)) {
                    if (m_stopping)
                        return;
                    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
                }
            }
            break;
        case Delivery::CloseEarly:
            send(std::string_view(answer.bytes).substr(0, bodyAt / 2));
            return;
        case Delivery::Silent:
            while (readMore(pending)) {
            }
            return;
        }
        if (lower(answer.bytes.substr(0, bodyAt)).find("connection: close") != std::string::npos)
            return;
    }
}
