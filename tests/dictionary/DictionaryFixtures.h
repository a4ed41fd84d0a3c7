#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace mirel::test {

// A file of tests/data/dictionary.
QByteArray dictionaryFixture(const QString &name);

// A search page in the layout for foreign words (UTF-8), as the fixture apple.html.
QByteArray foreignWordPage(const QString &headword, const QString &phonetic,
                           const QStringList &translations,
                           const QList<std::pair<QString, QString>> &examples);

// Text as UTF-16LE bytes, no byte-order mark.
QByteArray utf16le(const QString &text);

} // namespace mirel::test
