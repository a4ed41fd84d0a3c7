#pragma once

#include "net/HttpRequest.h"
#include "net/ResponseReader.h"

#include <QByteArray>
#include <QList>

namespace mirel {

// The status line and header block of a response, and the values taken from them.
struct THttpResponse
{
    QByteArray ResponseText; // the status line as received
    int ResponseCode = -1;
    QList<QByteArray> RawHeaders; // "Name: value" lines, continuation lines joined
    QByteArray Location;
    QByteArray Connection;
    QByteArray ProxyConnection;
    QByteArray ContentType;
    QByteArray TransferEncoding;
    qint64 ContentLength = -1;
    bool HasContentLength = false;
    bool KeepAlive = false; // the connection may carry the next request (set by the client)

    // The value of the first header with this name (case ignored), trimmed.
    QByteArray header(const QByteArray &name) const;
    // The values of every header with this name, in the order received.
    QList<QByteArray> headers(const QByteArray &name) const;
};

// The status code: the second blank-separated word as a decimal number, else -1.
int statusCode(const QByteArray &statusLine);

// A Content-Length value read as a signed 32-bit decimal number; -1 when it does not
// read as one or is negative.
qint64 contentLengthValue(const QByteArray &value);

// Builds the response from the status line and the header lines as received (before
// continuation lines are joined).
THttpResponse parseResponseHead(const QByteArray &statusLine, const QList<QByteArray> &lines);

// Reads a status line and the header lines up to the empty line. A close while header
// lines are read ends the block. The whole block is limited to kMaxHeaderBlock bytes.
THttpResponse readResponseHead(ResponseReader &reader);

// The keep-alive verdict from the headers alone, by the protocol version of the call.
bool keepAliveByHeaders(const THttpResponse &response, THttpProtocolVersion version);

// The chunk size of a size line: the hex number up to the first blank; 0 when that
// is not a hex number or does not fit 63 bits.
qint64 chunkSize(const QByteArray &sizeLine);

// Reads the body as the head announces: chunked, by Content-Length, until the close,
// or none. A body cut short is returned as far as it arrived.
QByteArray readResponseBody(ResponseReader &reader, const THttpResponse &response);

} // namespace mirel
