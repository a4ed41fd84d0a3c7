#include "EngineFixture.h"

#include "util/TextCodec.h"

namespace mirel::test {

EngineFixture EngineFixture::load(const QString &name, quint16 port)
{
    EngineFixture f;
    f.file = HttpFixture::load(QStringLiteral(MIREL_TEST_DATA_DIR "/http/engines/") + name, port);
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
