#include "sites/local/GlossaryBackend.h"

namespace mirel::siteserver {

Language GlossaryBackend::language(const std::string &code) const
{
    if (code == "zh-TW")
        return m_script ? Language::Chinese : Language::Unsupported;
    return glossaryLanguage(code);
}

Offer GlossaryBackend::offers(const LanguagePair &pair) const
{
    // Between the two Chinese scripts only OpenCC converts.
    const bool scripts = (pair.from == "zh-CN" && pair.to == "zh-TW") ||
                         (pair.from == "zh-TW" && pair.to == "zh-CN");
    return !scripts && language(pair.from) != Language::Unsupported &&
                   language(pair.to) != Language::Unsupported
               ? Offer::Yes
               : Offer::No;
}

Translation GlossaryBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point) const
{
    const std::string source = pair.from == "zh-TW" ? m_script->toSimplified(utf8) : utf8;
    const QString text = QString::fromUtf8(source.data(), qsizetype(source.size()));
    const std::string translated =
        m_glossary.translate(text, language(pair.from), language(pair.to)).toStdString();
    return Translation::translated(pair.to == "zh-TW" ? m_script->toTraditional(translated)
                                                      : translated);
}

} // namespace mirel::siteserver
