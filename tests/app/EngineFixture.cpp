#include "EngineFixture.h"

#include "util/TextCodec.h"

#include <QDir>

namespace mirel::test {

namespace {

QString folder()
{
    return QStringLiteral(MIREL_TEST_DATA_DIR "/http/engines/");
}

std::vector<std::string> baseNames(bool contracts)
{
    std::vector<std::string> names;
    for (const QFileInfo &file :
         QDir(folder()).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        static constexpr QLatin1StringView contractPrefix("contract_");
        const QString name = file.completeBaseName();
        if (name.startsWith(contractPrefix) == contracts)
            names.push_back((contracts ? name.sliced(contractPrefix.size()) : name).toStdString());
    }
    return names;
}

} // namespace

std::vector<std::string> EngineFixture::requestCases()
{
    return baseNames(false);
}

std::vector<std::string> EngineFixture::contractEngines()
{
    return baseNames(true);
}

EngineFixture EngineFixture::load(const QString &name, quint16 port)
{
    EngineFixture f;
    f.file = HttpFixture::load(folder() + name, port);
    const QStringList input = f.text("input").split(u'\n', Qt::SkipEmptyParts);
    if (input.size() == 3) {
        f.engine = input[0];
        f.source = input[1];
        f.target = input[2];
    }
    f.passage = f.text("passage").split(u'\n');
    return f;
}

QByteArray EngineFixture::wire(const QByteArray &tag) const
{
    for (const HttpFixture::Section &s : file.sections) {
        if (s.tag == tag)
            return s.opening.contains("gbk") ? toGbk(QString::fromUtf8(s.text)) : s.text;
    }
    return {};
}

QString EngineFixture::text(const QByteArray &tag) const
{
    return QString::fromUtf8(file.first(tag)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace mirel::test
