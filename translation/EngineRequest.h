#pragma once

#include "config/Sites.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <optional>

namespace mirel {

// Accept values: Google's lacks the blank after "application/x-shockwave-flash,".
inline constexpr char AcceptForGoogle[] =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash,"
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
inline constexpr char AcceptForOthers[] =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

// The request properties an engine request sets on the shared HTTP client. They stay set
// after the request, as the client keeps them.
struct EngineRequestHeaders
{
    bool handleRedirects = true;
    QByteArray accept;
    QByteArray referer;
    QByteArray acceptLanguage;
    QByteArray contentType;
    QByteArray userAgent;
    QByteArray connection;
    QByteArray cacheControl;

    bool operator==(const EngineRequestHeaders &) const = default;
};

// One form post to an engine: the address, the ordered "name=value" field lines with
// raw (not yet percent-encoded) values, and the client properties to set first.
struct EngineRequest
{
    QByteArray url;
    QList<QByteArray> fields;
    EngineRequestHeaders headers;
};

// The request that translates `passage` (sent as it stands, line breaks included) from
// `source` to `target` (display names) with the engine at `engineIndex`. Text values are
// UTF-8 for Google, Youdao and Yahoo, GBK for the Baidu relay. nullopt for an index
// outside 0 to 3: nothing is sent.
std::optional<EngineRequest> buildEngineRequest(QStringView passage, int engineIndex,
                                                QStringView source, QStringView target,
                                                const Sites &sites);

} // namespace mirel
