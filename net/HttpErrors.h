#pragma once

#include "util/Errors.h"

#include <QByteArray>

namespace mirel {

// A failure of the socket layer: "Socket Error # <n>" CR LF "<text>".
class ESocketError : public Exception
{
public:
    ESocketError(int errorCode, const QString &text);
    int errorCode() const noexcept { return m_errorCode; }

private:
    int m_errorCode;
};

// The peer closed the connection while a line was awaited.
class EConnClosedGracefully : public Exception
{
public:
    EConnClosedGracefully() : Exception(QStringLiteral("Connection Closed Gracefully.")) {}
};

// A received line longer than the line limit.
class EMaxLineLengthExceeded : public Exception
{
public:
    EMaxLineLengthExceeded() : Exception(QStringLiteral("Max line length exceeded.")) {}
};

class ENoSecureTransport : public Exception
{
public:
    ENoSecureTransport() : Exception(QStringLiteral("Secure connections (HTTPS) are not supported"))
    {
    }
};

class EUnknownProtocol : public Exception
{
public:
    EUnknownProtocol() : Exception(QStringLiteral("Unknown Protocol")) {}
};

// A header block or body larger than the client accepts.
class EResponseTooLarge : public Exception
{
public:
    using Exception::Exception;
};

// A status code that ends the call with an error; the message is the status line.
class EHttpProtocolError : public Exception
{
public:
    EHttpProtocolError(const QByteArray &statusLine, int code, QByteArray errorBody);
    int errorCode() const noexcept { return m_code; }
    const QByteArray &errorBody() const noexcept { return m_errorBody; }

private:
    int m_code;
    QByteArray m_errorBody;
};

} // namespace mirel
