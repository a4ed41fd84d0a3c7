#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace mirel {

// UTF-16 to GBK; every character GBK cannot represent (a lone surrogate included)
// becomes one "?".
QByteArray toGbk(QStringView text);

// GBK to UTF-16. A byte sequence that is not GBK becomes one "?" per bad byte.
QString fromGbk(QByteArrayView bytes);

// GBK to UTF-16, or nothing when any byte sequence is not GBK.
std::optional<QString> fromGbkStrict(QByteArrayView bytes);

// Strict UTF-8: the whole text, or the empty text when any sequence is malformed
// (overlong forms, surrogates, truncated sequences, stray continuation bytes).
QString fromUtf8Strict(QByteArrayView bytes);

} // namespace mirel
