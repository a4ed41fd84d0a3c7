#include "app/ClientRequestFields.h"

namespace mirel {

namespace {

template <typename T> void copyIfSet(T &target, const std::optional<T> &value)
{
    if (value)
        target = *value;
}

} // namespace

void setRequestFields(THttpClient &client, const RequestFields &fields)
{
    copyIfSet(client.HandleRedirects, fields.handleRedirects);
    copyIfSet(client.Request.Accept, fields.accept);
    copyIfSet(client.Request.Referer, fields.referer);
    copyIfSet(client.Request.AcceptLanguage, fields.acceptLanguage);
    copyIfSet(client.Request.ContentType, fields.contentType);
    copyIfSet(client.Request.UserAgent, fields.userAgent);
    copyIfSet(client.Request.Connection, fields.connection);
    copyIfSet(client.Request.CacheControl, fields.cacheControl);
}

} // namespace mirel
