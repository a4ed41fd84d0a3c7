#pragma once

#include <QByteArray>
#include <QDateTime>

#include <optional>

namespace mirel {

// Reads a cookie date in any of the usual forms: "Sun, 06 Nov 1994 08:49:37 GMT",
// "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994", with AM/PM markers and
// numeric zones ("+0800"). Returns the moment in UTC, or nothing when unreadable.
std::optional<QDateTime> parseCookieDate(const QByteArray &text);

// The moment a cookie date stands for; an unreadable date is the earliest moment.
QDateTime cookieExpiryMoment(const QByteArray &text);

} // namespace mirel
