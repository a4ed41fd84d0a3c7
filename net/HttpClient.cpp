#include "net/HttpClient.h"

#include "net/FormEncoding.h"
#include "net/HttpErrors.h"
#include "net/RequestWriter.h"
#include "net/ResponseReader.h"
#include "net/SocketErrors.h"
#include "net/TcpConnection.h"

#include <algorithm>

namespace mirel {

namespace {

// Puts the protocol version back when a call ends, however it ends.
class VersionRestorer
{
public:
    explicit VersionRestorer(THttpProtocolVersion &version) : m_version(version), m_saved(version)
    {
    }
    ~VersionRestorer() { m_version = m_saved; }
    VersionRestorer(const VersionRestorer &) = delete;
    VersionRestorer &operator=(const VersionRestorer &) = delete;

private:
    THttpProtocolVersion &m_version;
    THttpProtocolVersion m_saved;
};

bool hasLineBreakOrNul(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

quint16 portNumber(const QByteArray &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    if (!ok || port == 0 || port > 65535)
        throw EUnknownProtocol();
    return quint16(port);
}

} // namespace

THttpClient::THttpClient() = default;
THttpClient::~THttpClient() = default;

void THttpClient::setCookieClock(TCookieStore::Clock clock)
{
    m_cookieClock = clock;
    if (m_cookies)
        m_cookies->setClock(std::move(clock));
}

void THttpClient::Disconnect()
{
    m_reader.reset();
    m_connection.reset();
}

QByteArray THttpClient::Get(const QByteArray &address)
{
    return doRequest("GET", address, QByteArray(), false);
}

QByteArray THttpClient::Post(const QByteArray &address, QList<QByteArray> &fields)
{
    Disconnect();
    const VersionRestorer restore(ProtocolVersion);
    if (!(HTTPOptions & hoKeepProtocolVersion))
        ProtocolVersion = pv1_0;
    if (Request.ContentType.isEmpty() ||
        Request.ContentType.compare("text/html", Qt::CaseInsensitive) == 0)
        Request.ContentType = "application/x-www-form-urlencoded";
    if (HTTPOptions & hoEncodeFormValues)
        encodeFormFields(fields);
    return doRequest("POST", address, joinFormFields(fields), true);
}

bool THttpClient::judgeKeepAlive(THttpProtocolVersion version) const
{
    // Bytes beyond the end of the answer mean the framing was not what the peer sent:
    // the next answer could not be told apart from them.
    if (!m_connection || m_connection->peerClosed() || m_reader->closed() ||
        m_reader->hasBuffered())
        return false;
    return keepAliveByHeaders(m_response, version);
}

void THttpClient::connectTo(const HttpAddress &address, THttpProtocolVersion version)
{
    if (m_connection && (m_connection->host() != address.host ||
                         QByteArray::number(m_connection->port()) != address.port))
        Disconnect();
    const QByteArray scheme = address.protocol.toLower();
    if (scheme == "https")
        throw ENoSecureTransport();
    if (scheme != "http")
        throw EUnknownProtocol();
    if (version == pv1_0 && Request.Connection.isEmpty())
        Request.Connection = "keep-alive";
    if (!Request.AcceptEncoding.contains("identity"))
        Request.AcceptEncoding += Request.AcceptEncoding.isEmpty() ? "identity" : ", identity";
    // A kept connection that has anything to read (bytes nobody asked for, or the peer's
    // close) would hand them over as the answer to the next request.
    if (m_connection && (!m_response.KeepAlive || m_connection->readable() || m_reader->closed() ||
                         m_reader->hasBuffered()))
        Disconnect();
    if (!m_connection) {
        // Name lookup and the connects to all of the host's addresses share one limit,
        // cut to the call's.
        const auto connectDeadline =
            ConnectTimeoutMs < 0
                ? m_deadline
                : std::min(m_deadline, std::chrono::steady_clock::now() +
                                           std::chrono::milliseconds(ConnectTimeoutMs));
        m_connection = TcpConnection::open(address.host, portNumber(address.port), connectDeadline,
                                           m_resolver);
        m_reader = std::make_unique<ResponseReader>(*m_connection, ReadTimeoutMs);
    }
    m_connection->setDeadline(m_deadline);
}

void THttpClient::fileCookies(const THttpResponse &response)
{
    if (!AllowCookies)
        return;
    if (!m_cookies)
        m_cookies = std::make_unique<TCookieStore>(m_cookieClock);
    for (const QByteArray &line : response.headers("Set-cookie"))
        m_cookies->AddCookie(line, m_url.host);
    for (const QByteArray &line : response.headers("Set-cookie2"))
        m_cookies->AddCookie(line, m_url.host, true);
}

void THttpClient::sendRequest(const QByteArray &method, const QByteArray &body, bool hasBody,
                              THttpProtocolVersion version)
{
    Request.ContentLength = hasBody ? body.size() : -1;
    Request.Host = hostLine(m_url);
    connectTo(m_url, version);
    const QByteArray cookie =
        m_cookies ? m_cookies->CookieValue(m_url.host, m_url.path) : QByteArray();
    m_connection->send(writeRequestHead(method, m_url.target(), version, Request, cookie),
                       ReadTimeoutMs);
    if (hasBody)
        m_connection->send(body, ReadTimeoutMs);
}

void THttpClient::readHead()
{
    m_reader->setTimeout(ReadTimeoutMs);
    m_response = readResponseHead(*m_reader);
    fileCookies(m_response);
}

void THttpClient::readFinalHead()
{
    readHead();
    for (int interim = 0; m_response.ResponseCode == 100; ++interim) {
        if (interim == kMaxInterimResponses)
            throw EResponseTooLarge(
                QStringLiteral("More than %1 interim responses.").arg(kMaxInterimResponses));
        readHead();
    }
}

THttpClient::Decision THttpClient::decide()
{
    const int code = m_response.ResponseCode;
    if ((code / 100 == 3 && code != 304) || !m_response.Location.isEmpty()) {
        ++m_redirectCount;
        if (!HandleRedirects) {
            // Fails at once: the body is not waited for, and the connection that still
            // carries it is closed.
            Disconnect();
            throw EHttpProtocolError(m_response.ResponseText, code, QByteArray());
        }
        if (m_redirectCount >= RedirectMaximum)
            return Decision::LastRedirection;
        // A target with a line break or NUL would carry its own header lines into the
        // next request: the redirection fails as one that is not followed.
        if (hasLineBreakOrNul(m_response.Location)) {
            Disconnect();
            throw EHttpProtocolError(m_response.ResponseText, code, QByteArray());
        }
        return Decision::Follow;
    }
    if (code == 401 && !Request.BasicAuthentication &&
        m_response.header("WWW-Authenticate").trimmed().toLower().startsWith("basic"))
        Request.BasicAuthentication = true;
    return code / 100 == 2 ? Decision::Success : Decision::Failure;
}

QByteArray THttpClient::readBody(Decision decision)
{
    if (decision == Decision::Follow || decision == Decision::LastRedirection) {
        // A redirection's body is thrown away, given a short time; what is left of it
        // after an error cannot be read reliably.
        m_reader->setTimeout(kRedirectBodyTimeoutMs);
        try {
            readResponseBody(*m_reader, m_response);
        } catch (const Exception &) {
            Disconnect();
        }
        return QByteArray();
    }
    const int code = m_response.ResponseCode;
    if (code == 204 || code == 304 || code / 100 == 1)
        return QByteArray();
    m_reader->setTimeout(ReadTimeoutMs);
    return readResponseBody(*m_reader, m_response);
}

void THttpClient::closeUnlessKept()
{
    if (!m_response.KeepAlive)
        Disconnect();
}

QByteArray THttpClient::doRequest(QByteArray method, const QByteArray &address, QByteArray body,
                                  bool hasBody)
{
    const THttpProtocolVersion version = ProtocolVersion;
    m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CallTimeoutMs);
    m_redirectCount = 0;
    QByteArray next = address;
    QByteArray received;
    try {
        for (;;) {
            m_url = resolveAddress(next, m_url);
            sendRequest(method, body, hasBody, version);
            readFinalHead();
            const Decision decision = decide();
            received = readBody(decision);
            m_response.KeepAlive = judgeKeepAlive(version);
            if (decision == Decision::Failure)
                throw EHttpProtocolError(m_response.ResponseText, m_response.ResponseCode,
                                         std::move(received));
            if (decision != Decision::Follow)
                break;
            next = m_response.Location;
            if (m_response.ResponseCode == 302 || m_response.ResponseCode == 303) {
                method = "GET";
                body.clear();
                hasBody = false;
            }
        }
    } catch (const EHttpProtocolError &) {
        closeUnlessKept();
        throw;
    } catch (...) {
        Disconnect();
        throw;
    }
    closeUnlessKept();
    return received;
}

} // namespace mirel
