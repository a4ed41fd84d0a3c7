#pragma once

#include "config/Sites.h"
#include "util/RequestFields.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <optional>

namespace mirel {

// Google's Accept: BrowserAccept without the blank after "application/x-shockwave-flash,".
inline constexpr char AcceptForGoogle[] =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash,"
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

// One form post to an engine: the address, the ordered "name=value" field lines with
// raw (not yet percent-encoded) values, and the client properties to set first (every
// one of them).
struct EngineRequest
{
    QByteArray url;
    QList<QByteArray> fields;
    RequestFields headers;
};

// The request that translates `passage` (sent as it stands, line breaks included) from
// `source` to `target` (display names) with the engine at `engineIndex`. Text values are
// UTF-8 for Google, Youdao and Yahoo, GBK for the Baidu relay. nullopt for an index
// outside 0 to 3: nothing is sent.
std::optional<EngineRequest> buildEngineRequest(QStringView passage, int engineIndex,
                                                QStringView source, QStringView target,
                                                const Sites &sites);

} // namespace mirel
