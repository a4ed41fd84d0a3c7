#include "net/HttpErrors.h"

#include "util/TextCodec.h"

namespace mirel {

ESocketError::ESocketError(int errorCode, const QString &text)
    : Exception(QStringLiteral("Socket Error # %1\r\n%2").arg(errorCode).arg(text)),
      m_errorCode(errorCode)
{
}

EHttpProtocolError::EHttpProtocolError(const QByteArray &statusLine, int code, QByteArray errorBody)
    : Exception(fromGbk(statusLine)), m_code(code), m_errorBody(std::move(errorBody))
{
}

} // namespace mirel
