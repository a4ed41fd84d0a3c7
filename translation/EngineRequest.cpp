#include "translation/EngineRequest.h"

#include "translation/LanguageLookup.h"
#include "translation/LanguageTables.h"
#include "util/TextCodec.h"

namespace mirel {
namespace {

QByteArray field(const char *name, QByteArrayView value)
{
    QByteArray line(name);
    line.append('=').append(value);
    return line;
}

RequestFields headersFor(int engineIndex, const QByteArray &referer)
{
    RequestFields h;
    h.handleRedirects = true;
    h.accept = engineIndex == engGoogle ? AcceptForGoogle : BrowserAccept;
    h.referer = referer;
    h.acceptLanguage = "zh-cn";
    h.contentType = "application/x-www-form-urlencoded";
    h.userAgent = BrowserUserAgent;
    h.connection = "Keep-Alive";
    h.cacheControl = "no-cache";
    return h;
}

} // namespace

std::optional<EngineRequest> buildEngineRequest(QStringView passage, int engineIndex,
                                                QStringView source, QStringView target,
                                                const Sites &sites)
{
    if (engineIndex < 0 || engineIndex >= EngineCount)
        return std::nullopt;
    const auto engine = quint8(engineIndex);
    const QByteArray from = GetLanguageCode(engine, source);
    const QByteArray to = GetLanguageCode(engine, target);

    EngineRequest request;
    QByteArray referer;
    switch (engine) {
    case engGoogle:
        request.url = sites.google + '/';
        referer = request.url;
        request.fields = {"js=y",
                          "prev=_t",
                          "hl=zh-CN",
                          "ie=UTF-8",
                          "layout=1",
                          "eotf=0",
                          field("text", passage.toUtf8()),
                          "file=",
                          field("sl", from),
                          field("tl", to)};
        break;
    case engBaidu:
        request.url = sites.baiduRelay + "/trans.php";
        referer = sites.baiduDictHome;
        request.fields = {field("sen", toGbk(passage)), field("lang", from + to)};
        break;
    case engNetease:
        request.url = sites.youdaoTranslate + "/translate";
        referer = sites.youdaoTranslate + "/?keyfrom=dict.index";
        request.fields = {"ue=UTF-8",
                          "keyfrom=fanyi.web",
                          "smartresult=dict",
                          "smartresult=rule",
                          field("i", passage.toUtf8()),
                          "o=",
                          field("type", from + '2' + to),
                          field("action", QStringView(u"翻译").toUtf8())};
        break;
    case engYahoo:
        request.url = sites.yahoo + "/translate_txt";
        referer = sites.yahoo + '/';
        request.fields = {"ei=UTF-8", "fr=", field("lp", from + '_' + to),
                          field("trtext", passage.toUtf8())};
        break;
    }
    request.headers = headersFor(engine, referer);
    return request;
}

} // namespace mirel
