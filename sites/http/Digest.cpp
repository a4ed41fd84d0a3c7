#include "sites/http/Digest.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

namespace mirel::siteserver {
namespace {

QByteArray bytesOf(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::string sha256Hex(std::string_view bytes)
{
    return QCryptographicHash::hash(bytesOf(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string hmacSha256(std::string_view key, std::string_view message)
{
    return QMessageAuthenticationCode::hash(bytesOf(message), bytesOf(key),
                                            QCryptographicHash::Sha256)
        .toStdString();
}

std::string hexOf(std::string_view bytes)
{
    return bytesOf(bytes).toHex().toStdString();
}

std::string hmacSha1Base64(std::string_view key, std::string_view message)
{
    return QMessageAuthenticationCode::hash(bytesOf(message), bytesOf(key),
                                            QCryptographicHash::Sha1)
        .toBase64()
        .toStdString();
}

} // namespace mirel::siteserver
