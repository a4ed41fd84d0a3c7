#include "net/SocketErrors.h"

#include <cerrno>
#include <cstring>

namespace mirel {

namespace {

struct ErrorEntry
{
    int code;
    int err;
    const char *text;
};

constexpr ErrorEntry kErrors[] = {
    {10004, EINTR, "Interrupted system call."},
    {10009, EBADF, "Bad file number."},
    {10013, EACCES, "Access denied."},
    {10014, EFAULT, "Buffer fault."},
    {10022, EINVAL, "Invalid argument."},
    {10024, EMFILE, "Too many open files."},
    {10035, EWOULDBLOCK, "Operation would block."},
    {10036, EINPROGRESS, "Operation now in progress."},
    {10037, EALREADY, "Operation already in progress."},
    {10038, ENOTSOCK, "Socket operation on non-socket."},
    {10039, EDESTADDRREQ, "Destination address required."},
    {10040, EMSGSIZE, "Message too long."},
    {10041, EPROTOTYPE, "Protocol wrong type for socket."},
    {10042, ENOPROTOOPT, "Bad protocol option."},
    {10043, EPROTONOSUPPORT, "Protocol not supported."},
    {10044, ESOCKTNOSUPPORT, "Socket type not supported."},
    {10045, EOPNOTSUPP, "Operation not supported on socket."},
    {10046, EPFNOSUPPORT, "Protocol family not supported."},
    {10047, EAFNOSUPPORT, "Address family not supported by protocol family."},
    {10048, EADDRINUSE, "Address already in use."},
    {10049, EADDRNOTAVAIL, "Cannot assign requested address."},
    {10050, ENETDOWN, "Network is down."},
    {10051, ENETUNREACH, "Network is unreachable."},
    {10052, ENETRESET, "Net dropped connection or reset."},
    {10053, ECONNABORTED, "Software caused connection abort."},
    {10054, ECONNRESET, "Connection reset by peer."},
    {10055, ENOBUFS, "No buffer space available."},
    {10056, EISCONN, "Socket is already connected."},
    {10057, ENOTCONN, "Socket is not connected."},
    {10058, ESHUTDOWN, "Cannot send or receive after socket is closed."},
    {10059, ETOOMANYREFS, "Too many references, cannot splice."},
    {10060, ETIMEDOUT, "Connection timed out."},
    {10061, ECONNREFUSED, "Connection refused."},
    {10062, ELOOP, "Too many levels of symbolic links."},
    {10063, ENAMETOOLONG, "File name too long."},
    {10064, EHOSTDOWN, "Host is down."},
    {10065, EHOSTUNREACH, "No route to host."},
    {10066, ENOTEMPTY, "Directory not empty"},
    {11001, 0, "Host not found."},
};

} // namespace

QString socketErrorText(int errorCode)
{
    for (const ErrorEntry &e : kErrors) {
        if (e.code == errorCode)
            return QString::fromLatin1(e.text);
    }
    return QString();
}

int socketErrorCodeForErrno(int err)
{
    if (err == EPIPE) // a send after the peer reset the connection
        return 10054;
    for (const ErrorEntry &e : kErrors) {
        if (e.err != 0 && e.err == err)
            return e.code;
    }
    return 0;
}

ESocketError socketError(int errorCode)
{
    return ESocketError(errorCode, socketErrorText(errorCode));
}

ESocketError socketErrorFromErrno(int err)
{
    const int code = socketErrorCodeForErrno(err);
    if (code != 0)
        return socketError(code);
    return ESocketError(err, QString::fromLocal8Bit(std::strerror(err)));
}

} // namespace mirel
