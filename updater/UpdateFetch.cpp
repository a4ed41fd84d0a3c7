#include "updater/UpdateFetch.h"

#include "net/HttpClient.h"

namespace mirel {

QByteArray fetchUpdateList(const QByteArray &address, int callTimeoutMs)
{
    THttpClient client;
    client.HandleRedirects = true;
    client.ConnectTimeoutMs = callTimeoutMs;
    client.ReadTimeoutMs = callTimeoutMs;
    client.CallTimeoutMs = callTimeoutMs;
    return client.Get(address);
}

} // namespace mirel
