#include "sites/core/GbkCodec.h"

#include "util/TextCodec.h"

namespace mirel::siteserver {

std::string utf8ToGbk(std::string_view utf8)
{
    return toGbk(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))).toStdString();
}

std::optional<std::string> gbkToUtf8(std::string_view gbk)
{
    const auto text = fromGbkStrict(QByteArrayView(gbk.data(), qsizetype(gbk.size())));
    if (!text)
        return std::nullopt;
    return text->toStdString();
}

} // namespace mirel::siteserver
