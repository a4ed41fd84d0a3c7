#include "sites/pages/Sessions.h"

#include <chrono>
#include <cstdio>

namespace mirel::siteserver {
namespace {

constexpr size_t kMaxSessions = 10000;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::string requestCookie(const httplib::Request &req, std::string_view name)
{
    const size_t lines = req.get_header_value_count("Cookie");
    for (size_t i = 0; i < lines; ++i) {
        const std::string line = req.get_header_value("Cookie", i);
        std::string_view rest = line;
        while (!rest.empty()) {
            const size_t semi = rest.find(';');
            const std::string_view piece = trimmed(rest.substr(0, semi));
            rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
            const size_t eq = piece.find('=');
            if (eq != std::string_view::npos && piece.substr(0, eq) == name)
                return std::string(piece.substr(eq + 1));
        }
    }
    return {};
}

Sessions::Sessions(std::string cookieName) : m_cookieName(std::move(cookieName)) {}

Sessions::Visit Sessions::visit(const httplib::Request &req, httplib::Response &res)
{
    const std::string presented = requestCookie(req, m_cookieName);
    const std::lock_guard lock(m_mutex);
    if (const auto it = m_requests.find(presented); it != m_requests.end())
        return {it->first, ++it->second};

    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    char id[40];
    std::snprintf(id, sizeof id, "%08llx%04x", static_cast<unsigned long long>(now) & 0xFFFFFFFFull,
                  ++m_next & 0xFFFF);
    if (m_requests.size() >= kMaxSessions)
        m_requests.erase(m_requests.begin()); // a demo server: forget one rather than grow
    m_requests[id] = 1;
    res.set_header("Set-Cookie", m_cookieName + "=" + id + "; path=/");
    return {id, 1};
}

} // namespace mirel::siteserver
