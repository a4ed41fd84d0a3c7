#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace mirel {

// A page file's bytes as text: FF FE is UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8 (the
// mark is skipped), anything else GBK; every line ended by CR LF (linesEndedByCrLf).
QString readPageText(QByteArrayView bytes);

// Replaces each "%s" of the template, in order, by the next value ("%%" gives "%"; any
// other "%" stays). Values beyond the directives are unused; a directive without a value
// throws EFormatError "No argument for format '%s'".
QString fillTemplate(QStringView templateText, const QStringList &values);

// The page as written to disk: FF FE, then UTF-16LE with every line ended by CR LF.
QByteArray pageFileBytes(QStringView pageText);

} // namespace mirel
