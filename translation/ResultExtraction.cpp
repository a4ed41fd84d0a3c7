#include "translation/ResultExtraction.h"

#include "translation/LanguageLookup.h"
#include "translation/LanguageTables.h"
#include "util/TextCodec.h"
#include "util/TextHelpers.h"

namespace mirel {
namespace {

// A block cut out of the page, then the result cut out of the block.
QString cutTwice(QStringView page, QStringView blockStart, QStringView blockEnd, QStringView start,
                 QStringView end)
{
    return Cut(Cut(page, blockStart, blockEnd), start, end);
}

QString relayResult(QStringView page, const Sites &sites)
{
    if (page.isEmpty())
        return {};
    if (page.contains(RelayBusyMarker))
        return RelayBusyText.toString();
    return cutTwice(page, u"<h1>自动翻译结果如下</h1>", relayCreditLine(sites.relayHome),
                    u"id=\"result\">", u"</div>");
}

} // namespace

QString relayCreditLine(QByteArrayView relayHome)
{
    QString line = QString::fromUtf16(u"<p>以上结果由<a href=\"");
    line.append(QString::fromLatin1(relayHome));
    line.append(QStringView(u"\" target=\"_blank\">金桥翻译</a>提供"));
    return line;
}

ExtractedResult extractResult(int engineIndex, QByteArrayView body, QStringView target,
                              const Sites &sites)
{
    switch (engineIndex) {
    case engGoogle:
        return {Cut(fromUtf8Strict(body), u"\"><input type=hidden name=gtrans value=\"",
                    u"\"><div id=sug_exp>"),
                GetLanguageFont(engGoogle, target)};
    case engBaidu:
        return {relayResult(fromGbk(body), sites), std::nullopt};
    case engNetease:
        return {cutTwice(fromUtf8Strict(body), u"id=\"source_text2\"", u"class=\"submitcell\"",
                         u">", u"</textarea>"),
                std::nullopt};
    case engYahoo:
        return {cutTwice(fromUtf8Strict(body), u"<div class=\"result\">", u"<div class=\"clr\">",
                         u"<div id=\"pd\" class=\"pd\">", u"</div>"),
                std::nullopt};
    default:
        return {};
    }
}

} // namespace mirel
