#pragma once

#include "net/CookieStore.h"
#include "net/HttpAddress.h"
#include "net/HttpRequest.h"
#include "net/HttpResponse.h"
#include "net/NameLookup.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <memory>

namespace mirel {

class TcpConnection;
class ResponseReader;

enum THttpOption { hoInProcessAuth = 0x1, hoKeepProtocolVersion = 0x2, hoEncodeFormValues = 0x4 };
using THttpOptions = unsigned;

struct TProxyParams
{
    QByteArray ProxyServer;
    int ProxyPort = 0;
    bool BasicAuthentication = false;
};

// The program's HTTP client: blocking requests over plain TCP, one connection kept
// between calls while the server allows it, cookies filed in its own store.
class THttpClient
{
public:
    // The longest the connect step may take: name lookup and connects to every address
    // of the host together, within the call's bound.
    static constexpr int kConnectTimeoutMs = 30000;
    static constexpr int kReadTimeoutMs = 60000;
    static constexpr int kRedirectBodyTimeoutMs = 4000;
    // The longest one Get or Post may take, its redirections included, however the peer
    // paces its bytes; then it fails with socket error 10060.
    static constexpr int kCallTimeoutMs = 90000;
    // 100 Continue answers accepted before the final answer of one request.
    static constexpr int kMaxInterimResponses = 100;

    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient &) = delete;
    THttpClient &operator=(const THttpClient &) = delete;

    // Sends a GET and returns the body of the final response, bytes unchanged.
    QByteArray Get(const QByteArray &address);
    // Encodes the fields in place, sends them as a form and returns the final body.
    QByteArray Post(const QByteArray &address, QList<QByteArray> &fields);

    THttpRequest Request;
    bool HandleRedirects = false;
    int RedirectMaximum = 15;
    bool AllowCookies = true;
    THttpOptions HTTPOptions = hoEncodeFormValues;
    THttpProtocolVersion ProtocolVersion = pv1_1;
    TProxyParams ProxyParams;
    int ConnectTimeoutMs = kConnectTimeoutMs;
    int ReadTimeoutMs = kReadTimeoutMs;
    int CallTimeoutMs = kCallTimeoutMs;

    // The last response read (of the final request of the last call), with its keep-alive
    // verdict once its body is read.
    const THttpResponse &Response() const { return m_response; }
    int ResponseCode() const { return m_response.ResponseCode; }
    const QByteArray &ResponseText() const { return m_response.ResponseText; }
    // The address of the last request, against which relative addresses resolve.
    const HttpAddress &URL() const { return m_url; }
    // Redirections met by the last call.
    int RedirectCount() const { return m_redirectCount; }

    // The cookie store; none until the first response when AllowCookies is on.
    TCookieStore *CookieManager() const { return m_cookies.get(); }
    // The clock the cookie store uses (now or when it is created).
    void setCookieClock(TCookieStore::Clock clock);

    // How host names are looked up (the platform's name service unless replaced).
    void setNameResolver(NameResolver resolver) { m_resolver = std::move(resolver); }

    bool Connected() const { return m_connection != nullptr; }
    void Disconnect();

private:
    QByteArray doRequest(QByteArray method, const QByteArray &address, QByteArray body,
                         bool hasBody);
    // What the final head of one request leads to.
    enum class Decision { Follow, LastRedirection, Success, Failure };

    void connectTo(const HttpAddress &address, THttpProtocolVersion version);
    void sendRequest(const QByteArray &method, const QByteArray &body, bool hasBody,
                     THttpProtocolVersion version);
    void readHead();
    // Reads heads until one that is not 100 Continue.
    void readFinalHead();
    void fileCookies(const THttpResponse &response);
    // Counts a redirection and fails at once on one that is not followed; keeps the trace
    // of a Basic challenge.
    Decision decide();
    // The body the decision calls for: a redirection's is read away, a success's or a
    // failure's returned.
    QByteArray readBody(Decision decision);
    bool judgeKeepAlive(THttpProtocolVersion version) const;
    void closeUnlessKept();

    THttpResponse m_response;
    HttpAddress m_url;
    int m_redirectCount = 0;
    std::unique_ptr<TCookieStore> m_cookies;
    TCookieStore::Clock m_cookieClock;
    std::unique_ptr<TcpConnection> m_connection;
    std::unique_ptr<ResponseReader> m_reader;
    std::chrono::steady_clock::time_point m_deadline; // of the call that runs
    NameResolver m_resolver = platformResolve;
};

} // namespace mirel
