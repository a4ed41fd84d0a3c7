#pragma once

#include "support/ScriptedServer.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace mirel::test {

// An engine case of tests/data/http/engines: the engine and the two languages (the
// <input> lines), the passage lines, and the sections of the file. A section whose
// opening tag says "gbk" is written in UTF-8 and sent in GBK. The folder holds the
// engines' contract pages ("contract_<engine>.txt"), their request cases (every other
// ".txt": the reply and the exact request) and the result pages the extraction reads.
struct EngineFixture
{
    // The request cases of the folder by name, without ".txt", in name order.
    static std::vector<std::string> requestCases();
    // The engines with a contract page, in name order.
    static std::vector<std::string> contractEngines();

    QString engine;
    QString source;
    QString target;
    QStringList passage;
    HttpFixture file;

    static EngineFixture load(const QString &name, quint16 port);
    // The bytes of the first section with this tag, as they go on the wire.
    QByteArray wire(const QByteArray &tag) const;
    // The first section with this tag as text, line ends as "\n".
    QString text(const QByteArray &tag) const;
};

} // namespace mirel::test
