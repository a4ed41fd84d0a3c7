#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace mirel {

// The folder "Web" of the page files: the template, its two pictures and the result
// page of the last lookup.
class WebFolder
{
public:
    static constexpr const char *templateName = "Translate.html";
    static constexpr const char *lineName = "Line.gif";
    static constexpr const char *soundName = "sound.gif";
    static constexpr const char *resultName = "Temp.html";

    // The folder "Web" inside the given folder (the executable's), with a trailing "/".
    explicit WebFolder(const QString &programFolder);
    // Beside the program, or in the user's data folder when the program's folder cannot
    // be written (an installed copy).
    static WebFolder choose(const QString &programFolder, const QString &userDataFolder);
    // The folder at that path itself ("/" is appended when missing).
    static WebFolder at(const QString &folderPath);

    const QString &path() const { return m_path; }
    QString filePath(const QString &name) const { return m_path + name; }

    // Creates the folder (one level) when missing; the outcome is not reported.
    void ensureExists() const;
    bool hasTemplate() const;

    // Writes the result page and returns its path.
    QString writeResultPage(QByteArrayView pageBytes) const;
    // The template's bytes; throws EFOpenError when it cannot be read.
    QByteArray readTemplate() const;

    // Replaces a file of the folder as a whole: a failed write leaves the earlier file in
    // place. Throws EFCreateError.
    void writeFile(const QString &name, QByteArrayView bytes) const;

private:
    WebFolder() = default;

    QString m_path;
};

} // namespace mirel
