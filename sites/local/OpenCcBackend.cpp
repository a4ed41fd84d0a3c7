#include "sites/local/OpenCcBackend.h"

#include <opencc/Exception.hpp>

namespace mirel::siteserver {

Offer OpenCcBackend::offers(const LanguagePair &pair) const
{
    const bool simplifiedToTraditional = pair.from == "zh-CN" && pair.to == "zh-TW";
    const bool traditionalToSimplified = pair.from == "zh-TW" && pair.to == "zh-CN";
    return simplifiedToTraditional || traditionalToSimplified ? Offer::Yes : Offer::No;
}

Translation OpenCcBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                     Clock::time_point) const
{
    try {
        return Translation::translated(pair.to == "zh-TW" ? m_script->toTraditional(utf8)
                                                          : m_script->toSimplified(utf8));
    } catch (const opencc::Exception &) {
        return Translation::badAnswer("OpenCC could not convert the text");
    }
}

} // namespace mirel::siteserver
