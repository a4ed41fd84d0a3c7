#include "SiteServerProcess.h"

#include "net/HttpClient.h"
#include "util/Errors.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace mirel::test {

SiteServerProcess::~SiteServerProcess()
{
    stop();
}

bool SiteServerProcess::start(const QString &program, const QStringList &extraArguments,
                              int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_process.setProgram(program);
    // No test text leaves the machine: the keyless online services are off unless the
    // extra arguments name their addresses (a later option wins).
    m_process.setArguments(QStringList{"0", "--no-settings", "--google-web-url", "off",
                                       "--edge-url", "off", "--volcengine-web-url", "off"} +
                           extraArguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setReadChannel(QProcess::StandardError);
    m_process.start();
    if (!m_process.waitForStarted(int(deadline.remainingTime()))) {
        m_why = QStringLiteral("cannot start ") + program + QStringLiteral(": ") +
                m_process.errorString();
        return false;
    }
    return readPort(int(deadline.remainingTime())) && answers(int(deadline.remainingTime()));
}

// The site server names its address once it listens: "listening on http://127.0.0.1:<port>".
bool SiteServerProcess::readPort(int timeoutMs)
{
    static const QRegularExpression listening(
        QStringLiteral("listening on http://127\\.0\\.0\\.1:(\\d+)"));
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        m_log += m_process.readAllStandardError();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(m_log));
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            return true;
        }
        if (m_process.state() != QProcess::Running) {
            m_why = QStringLiteral("the site server ended: ") + QString::fromUtf8(m_log);
            return false;
        }
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_why = QStringLiteral("the site server named no port in time: ") + QString::fromUtf8(m_log);
    return false;
}

bool SiteServerProcess::answers(int timeoutMs)
{
    THttpClient probe;
    probe.ConnectTimeoutMs = qMax(1, timeoutMs);
    probe.ReadTimeoutMs = qMax(1, timeoutMs);
    try {
        probe.Get("http://127.0.0.1:" + QByteArray::number(m_port) + "/ad/201072928_1.html");
        return true;
    } catch (const Exception &error) {
        m_why = QStringLiteral("the site server does not answer: ") + error.message();
        return false;
    }
}

QByteArray SiteServerProcess::log()
{
    m_log += m_process.readAllStandardError();
    return m_log;
}

bool SiteServerProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    if (m_process.waitForFinished(timeoutMs)) {
        if (m_process.exitStatus() == QProcess::NormalExit)
            return true;
        m_why = QStringLiteral("the site server crashed at SIGTERM: ");
    } else {
        m_process.kill();
        m_process.waitForFinished(timeoutMs);
        m_why =
            QStringLiteral("the site server did not end within %1 ms of SIGTERM: ").arg(timeoutMs);
    }
    m_why += QString::fromUtf8(log());
    return false;
}

} // namespace mirel::test
