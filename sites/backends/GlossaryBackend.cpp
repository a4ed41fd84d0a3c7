#include "sites/backends/GlossaryBackend.h"

namespace mirel::sites {

Offer GlossaryBackend::offers(const LanguagePair &pair) const
{
    return glossaryLanguage(pair.from) != Language::Unsupported &&
                   glossaryLanguage(pair.to) != Language::Unsupported
               ? Offer::Yes
               : Offer::No;
}

Translation GlossaryBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                       Clock::time_point) const
{
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    return Translation::translated(
        m_glossary.translate(text, glossaryLanguage(pair.from), glossaryLanguage(pair.to))
            .toStdString());
}

} // namespace mirel::sites
