#pragma once

#include <httplib.h>

#include <map>
#include <mutex>
#include <string>

namespace mirel::siteserver {

// Cookie-based sessions of one site: a request without a known session cookie gets a
// new one (Set-Cookie, path "/"); a request with one is counted against it.
class Sessions
{
public:
    explicit Sessions(std::string cookieName);

    struct Visit
    {
        std::string id;
        int request = 0; // 1 for the request that opened the session
    };

    // Looks the cookie up in the request; adds Set-Cookie to the response for a new one.
    Visit visit(const httplib::Request &req, httplib::Response &res);

    const std::string &cookieName() const { return m_cookieName; }

private:
    std::string m_cookieName;
    std::mutex m_mutex;
    std::map<std::string, int> m_requests;
    unsigned m_next = 0;
};

// The value of one cookie in the request's Cookie lines, or empty.
std::string requestCookie(const httplib::Request &req, std::string_view name);

} // namespace mirel::siteserver
