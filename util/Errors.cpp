#include "util/Errors.h"

namespace mirel {

Exception::Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

EFCreateError EFCreateError::forFile(const QString &path, const QString &reason)
{
    return EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
}

EFOpenError EFOpenError::forFile(const QString &path, const QString &reason)
{
    return EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
}

QString exceptionReportText(const QString &message)
{
    // A double-byte character counts by its first byte, which is above "." in GBK; in
    // UTF-16 every non-ASCII code unit is above "." as well.
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

} // namespace mirel
