#pragma once

#include <QByteArray>

namespace mirel {

// An address split into its parts. path always begins and ends with "/"; params
// begins with "?" when there is a query.
struct HttpAddress
{
    QByteArray protocol;
    QByteArray username;
    QByteArray password;
    QByteArray host;
    QByteArray port;
    QByteArray path = "/";
    QByteArray document;
    QByteArray params;

    // The request target as it goes into the request line: path, document, params.
    QByteArray target() const { return path + document + params; }
};

// The value of the Host line: the host, with ":" and the port unless the port is "80".
inline QByteArray hostLine(const HttpAddress &address)
{
    return address.port == "80" ? address.host : address.host + ':' + address.port;
}

// Backslashes become "/", except a byte that is the second byte of a GBK character.
QByteArray slashesFromBackslashes(const QByteArray &address);

// Splits an absolute address, or resolves a relative one against current (keeping its
// scheme, host and port). Nothing is percent-encoded or decoded. Raises
// EUnknownProtocol for a scheme other than HTTP or HTTPS that leaves no port.
HttpAddress resolveAddress(const QByteArray &address, const HttpAddress &current);

// Removes "." and ".." segments from a path that begins with "/".
QByteArray removeDotSegments(const QByteArray &path);

} // namespace mirel
