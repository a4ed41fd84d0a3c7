#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace mirel {

// Percent-encodes a form value: bytes 0x21..0x7F stay, except * # % < > [ ] & = +;
// everything else becomes "%" and two upper-case hex digits.
QByteArray encodeFormValue(QByteArrayView value);

// Encodes the value (after the first "=") of every line in place; lines without "="
// stay as they are.
void encodeFormFields(QList<QByteArray> &fields);

// Joins the lines into a form body: each line followed by CR LF, bytes of 0x20 or less
// trimmed from both ends, and with two or more lines every CR LF replaced by "&".
QByteArray joinFormFields(const QList<QByteArray> &fields);

} // namespace mirel
