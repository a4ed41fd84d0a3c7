#pragma once

#include <QByteArray>

#include <optional>

namespace mirel {

// The Accept and User-Agent values with which the program's requests present themselves
// as a desktop browser. (Google's form is sent its own Accept, see EngineRequest.h.)
inline constexpr char BrowserAccept[] =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
inline constexpr char BrowserUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)";

// The properties a request sets on the shared HTTP client before it goes out. A property
// without a value is left as the client holds it from earlier requests; what is set stays
// set for the requests after.
struct RequestFields
{
    std::optional<bool> handleRedirects;
    std::optional<QByteArray> accept;
    std::optional<QByteArray> referer;
    std::optional<QByteArray> acceptLanguage;
    std::optional<QByteArray> contentType;
    std::optional<QByteArray> userAgent;
    std::optional<QByteArray> connection;
    std::optional<QByteArray> cacheControl;

    bool operator==(const RequestFields &) const = default;
};

} // namespace mirel
