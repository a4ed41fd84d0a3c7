#include "updater/UpdateList.h"

#include <QList>

namespace mirel {

std::optional<UpdateInfo> parseUpdateList(QByteArrayView text)
{
    bool inSection = false;
    bool sawSection = false;
    UpdateInfo info;
    for (QByteArrayView line : QByteArray(text.data(), text.size()).split('\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith('[')) {
            inSection = line == "[Mirel]";
            sawSection = sawSection || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArrayView key = line.first(eq).trimmed();
        const QByteArrayView value = line.sliced(eq + 1).trimmed();
        if (key == "Version")
            info.version = QString::fromLatin1(value);
        else if (key == "Download")
            info.download = value.toByteArray();
    }
    if (!sawSection || info.version.isEmpty() || !info.download.startsWith("http://"))
        return std::nullopt;
    for (const QChar c : info.version) {
        if (!c.isDigit() && c != u'.')
            return std::nullopt;
    }
    return info;
}

int compareVersions(QStringView a, QStringView b)
{
    const QList<QStringView> pa = a.split(u'.');
    const QList<QStringView> pb = b.split(u'.');
    for (qsizetype i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const qulonglong x = i < pa.size() ? pa[i].toULongLong() : 0;
        const qulonglong y = i < pb.size() ? pb[i].toULongLong() : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace mirel
