#pragma once

#include <QByteArray>

namespace mirel {

// The longest the fetch of the update list may take, redirections included.
inline constexpr int kUpdateFetchTimeoutMs = 10000;

// Fetches the update list at the address on a client of its own, following redirections.
// Throws on any failure, and with socket error 10060 once callTimeoutMs have passed,
// however slowly the site sends.
QByteArray fetchUpdateList(const QByteArray &address, int callTimeoutMs = kUpdateFetchTimeoutMs);

} // namespace mirel
