#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace mirel {

// The update list served by the vendor: CR LF (or LF) lines
//   [Mirel]
//   Version=1.2.3
//   Download=http://host/page.html
struct UpdateInfo
{
    QString version;
    QByteArray download;
};

// nullopt when the section, the version or the download address is missing or malformed.
std::optional<UpdateInfo> parseUpdateList(QByteArrayView text);

// Compares dotted decimal versions part by part ("1.10" > "1.9", "1.0" == "1"); a part that
// is not a number counts as 0.
int compareVersions(QStringView a, QStringView b);

} // namespace mirel
