#pragma once

#include "net/HttpRequest.h"

#include <QByteArray>
#include <QList>

namespace mirel {

inline constexpr qsizetype kMaxHeaderLineLength = 1024;

// A header line longer than kMaxHeaderLineLength broken at blanks, tabs or commas into
// pieces of at most that length; every further piece begins with one blank. A line
// with no place to break is left whole.
QList<QByteArray> foldHeaderLine(const QByteArray &line);

// The request line, the header lines in their fixed order and the empty line, each
// ending with CR LF. cookie is the value of the Cookie line (none when empty).
QByteArray writeRequestHead(const QByteArray &method, const QByteArray &target,
                            THttpProtocolVersion version, const THttpRequest &request,
                            const QByteArray &cookie);

// The RFC 1123 form of a moment: "Sun, 06 Nov 1994 08:49:37 GMT".
QByteArray httpDate(const QDateTime &moment);

} // namespace mirel
