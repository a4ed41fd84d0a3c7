#include "PageCuts.h"

#include "dictionary/WordScraper.h"
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

std::string cutBetween(std::string_view text, std::string_view start, std::string_view end)
{
    const size_t s = text.find(start);
    if (s == std::string_view::npos)
        return {};
    const size_t from = s + start.size();
    const size_t e = text.find(end, from);
    if (e == std::string_view::npos)
        return {};
    return std::string(text.substr(from, e - from));
}

namespace {

std::string utf8Of(const QByteArray &gbk)
{
    return mirel::fromGbk(gbk).toStdString();
}

} // namespace

ScrapedWord scrapeDictionaryPage(std::string_view word, std::string_view body)
{
    // The program's own scraper, then the record taken apart group by group.
    const QByteArray gbkWord = mirel::toGbk(QString::fromUtf8(word.data(), qsizetype(word.size())));
    const QByteArray record =
        mirel::scrapeWord(gbkWord, QByteArrayView(body.data(), qsizetype(body.size())));
    ScrapedWord out;
    if (record.isEmpty()) {
        out.notFound = true;
        return out;
    }
    out.word = utf8Of(mirel::CutBytes(record, "<WORD>", "</WORD>"));
    out.phonetic = mirel::CutBytes(record, "<PHONETIC>", "</PHONETIC>").toStdString();
    out.translations = utf8Of(mirel::CutBytes(record, "<TRANSLATE>", "</TRANSLATE>"));
    const bool chineseFirst = mirel::IsGBK(mirel::fromGbk(gbkWord));
    for (int n = 1;; ++n) {
        const QByteArray num = QByteArray::number(n);
        if (!record.contains("<IMAGESEN" + num + ">"))
            break;
        const std::string en =
            utf8Of(mirel::CutBytes(record, "<IMAGESEN" + num + ">", "</IMAGESEN" + num + ">"));
        const std::string cn =
            utf8Of(mirel::CutBytes(record, "<IMAGESCN" + num + ">", "</IMAGESCN" + num + ">"));
        out.examples.emplace_back(chineseFirst ? cn : en, chineseFirst ? en : cn);
    }
    return out;
}
