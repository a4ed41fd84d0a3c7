#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace mirel::test {

// The mirel-sites executable run as a child process on a free loopback port; stopped
// (SIGTERM, then killed if it lingers) when this object goes.
class SiteServerProcess
{
public:
    SiteServerProcess() = default;
    ~SiteServerProcess();
    SiteServerProcess(const SiteServerProcess &) = delete;
    SiteServerProcess &operator=(const SiteServerProcess &) = delete;

    // Starts the site server on a port of the system's choosing, with no settings file,
    // without the keyless online services and by default without Apertium, logging requests, and
    // waits (bounded) until it answers a request. False with why() filled when it does not.
    bool start(const QString &program,
               const QStringList &extraArguments = {QStringLiteral("--apertium"),
                                                    QStringLiteral("off")},
               int timeoutMs = 10000);
    // Stops the site server; true when it ended on its own after SIGTERM, else why() says
    // how it ended, with its log.
    bool stop(int timeoutMs = 5000);

    quint16 port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    // Everything it has logged so far: one line per request with its status.
    QByteArray log();
    const QString &why() const { return m_why; }

private:
    bool readPort(int timeoutMs);
    bool answers(int timeoutMs);

    QProcess m_process;
    QByteArray m_log;
    quint16 m_port = 0;
    QString m_why;
};

} // namespace mirel::test
