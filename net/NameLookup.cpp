#include "net/NameLookup.h"

#include "net/SocketErrors.h"

#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <system_error>
#include <thread>

namespace mirel {

namespace {

struct AddrInfoDeleter
{
    void operator()(addrinfo *ai) const { freeaddrinfo(ai); }
};

// getaddrinfo with the client's hints; false when the name has no address.
bool addressesOf(const QByteArray &host, quint16 port, int flags,
                 std::vector<SocketAddress> &addresses)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | flags;
    addrinfo *found = nullptr;
    const QByteArray service = QByteArray::number(port);
    if (::getaddrinfo(host.constData(), service.constData(), &hints, &found) != 0 || !found)
        return false;
    const std::unique_ptr<addrinfo, AddrInfoDeleter> list(found);
    for (const addrinfo *ai = list.get(); ai; ai = ai->ai_next) {
        SocketAddress a;
        if (ai->ai_addrlen > sizeof a.address)
            continue;
        std::memcpy(&a.address, ai->ai_addr, ai->ai_addrlen);
        a.length = ai->ai_addrlen;
        addresses.push_back(a);
    }
    return !addresses.empty();
}

// What a lookup thread hands over; shared by the thread and the caller waiting for it.
struct PendingLookup
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::vector<SocketAddress> addresses;
    std::exception_ptr error;
};

} // namespace

std::vector<SocketAddress> platformResolve(const QByteArray &host, quint16 port)
{
    std::vector<SocketAddress> addresses;
    if (!addressesOf(host, port, 0, addresses))
        throw socketError(kHostNotFound);
    return addresses;
}

std::vector<SocketAddress> lookUpName(const QByteArray &host, quint16 port,
                                      std::chrono::steady_clock::time_point deadline,
                                      const NameResolver &resolver)
{
    std::vector<SocketAddress> addresses;
    if (addressesOf(host, port, AI_NUMERICHOST, addresses))
        return addresses;
    if (std::chrono::steady_clock::now() >= deadline)
        throw socketError(kConnectionTimedOut);

    const auto pending = std::make_shared<PendingLookup>();
    try {
        // The thread holds its own copies of the name, the resolver and the result.
        std::thread([pending, resolver, host = QByteArray(host.constData(), host.size()), port] {
            std::vector<SocketAddress> found;
            std::exception_ptr error;
            try {
                found = resolver(host, port);
            } catch (...) {
                error = std::current_exception();
            }
            const std::lock_guard lock(pending->mutex);
            pending->addresses = std::move(found);
            pending->error = error;
            pending->done = true;
            pending->finished.notify_all();
        }).detach();
    } catch (const std::system_error &e) {
        throw socketErrorFromErrno(e.code().value());
    }

    std::unique_lock lock(pending->mutex);
    if (!pending->finished.wait_until(lock, deadline, [&] { return pending->done; }))
        throw socketError(kConnectionTimedOut);
    if (pending->error)
        std::rethrow_exception(pending->error);
    if (pending->addresses.empty())
        throw socketError(kHostNotFound);
    return std::move(pending->addresses);
}

} // namespace mirel
