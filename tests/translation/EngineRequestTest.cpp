#include "translation/EngineRequest.h"

#include "TestSites.h"

#include <gtest/gtest.h>

using namespace mirel;
using namespace Qt::StringLiterals;

namespace {

EngineRequest requestFor(QStringView passage, int engine, QStringView source, QStringView target)
{
    const std::optional<EngineRequest> request =
        buildEngineRequest(passage, engine, source, target, testSites());
    if (!request)
        ADD_FAILURE() << "no request for engine " << engine;
    return request.value_or(EngineRequest{});
}

} // namespace

TEST(EngineRequestFields, GoogleTwoChineseCharacters)
{
    const EngineRequest r = requestFor(u"你好", 0, u"中文(简体)", u"英语");
    EXPECT_EQ(r.fields,
              QList<QByteArray>({"js=y", "prev=_t", "hl=zh-CN", "ie=UTF-8", "layout=1", "eotf=0",
                                 "text=\xE4\xBD\xA0\xE5\xA5\xBD", "file=", "sl=zh-CN", "tl=en"}));
}

TEST(EngineRequestFields, BaiduEnglishToChineseInGbk)
{
    const EngineRequest r = requestFor(u"hello 世界", 1, u"英语", u"中文");
    EXPECT_EQ(r.fields, QList<QByteArray>({"sen=hello \xCA\xC0\xBD\xE7", "lang=encn"}));
    // What GBK cannot hold goes out as "?".
    EXPECT_EQ(requestFor(u"a한b", 1, u"中文", u"英语").fields,
              QList<QByteArray>({"sen=a?b", "lang=cnen"}));
}

TEST(EngineRequestFields, YoudaoJapaneseToChinese)
{
    const EngineRequest r = requestFor(u"こんにちは", 2, u"日语", u"中文");
    EXPECT_EQ(
        r.fields,
        QList<QByteArray>({"ue=UTF-8", "keyfrom=fanyi.web", "smartresult=dict", "smartresult=rule",
                           "i=\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF",
                           "o=", "type=JA2ZH_CN", "action=\xE7\xBF\xBB\xE8\xAF\x91"}));
}

TEST(EngineRequestFields, YahooChineseToJapanese)
{
    const EngineRequest r = requestFor(u"中", 3, u"中文", u"日语");
    EXPECT_EQ(r.fields, QList<QByteArray>({"ei=UTF-8", "fr=", "lp=zh_ja", "trtext=\xE4\xB8\xAD"}));
}

TEST(EngineRequestFields, PassageGoesOutRawAndUntrimmed)
{
    // Line breaks, blanks and form syntax stay in the value; the client encodes it.
    const QString passage = u" a=b&c\r\nsecond line\n"_s;
    EXPECT_EQ(requestFor(passage, 0, u"英语", u"法语").fields[6], "text= a=b&c\r\nsecond line\n");
    EXPECT_EQ(requestFor(passage, 1, u"英语", u"中文").fields[0], "sen= a=b&c\r\nsecond line\n");
    EXPECT_EQ(requestFor(passage, 2, u"英语", u"中文").fields[4], "i= a=b&c\r\nsecond line\n");
    EXPECT_EQ(requestFor(passage, 3, u"英语", u"中文").fields[3], "trtext= a=b&c\r\nsecond line\n");
}

TEST(EngineRequestAddress, UrlAndRefererPerEngine)
{
    const EngineRequest google = requestFor(u"x", 0, u"英语", u"中文(简体)");
    EXPECT_EQ(google.url, "http://google.test/");
    EXPECT_EQ(google.headers.referer, "http://google.test/");

    const EngineRequest baidu = requestFor(u"x", 1, u"英语", u"中文");
    EXPECT_EQ(baidu.url, "http://relay.test:8080/trans.php");
    EXPECT_EQ(baidu.headers.referer, "http://dict.baidu.test");

    const EngineRequest youdao = requestFor(u"x", 2, u"英语", u"中文");
    EXPECT_EQ(youdao.url, "http://fanyi.youdao.test/translate");
    EXPECT_EQ(youdao.headers.referer, "http://fanyi.youdao.test/?keyfrom=dict.index");

    const EngineRequest yahoo = requestFor(u"x", 3, u"英语", u"中文");
    EXPECT_EQ(yahoo.url, "http://fanyi.yahoo.test/translate_txt");
    EXPECT_EQ(yahoo.headers.referer, "http://fanyi.yahoo.test/");
}

TEST(EngineRequestHeaders, SameValuesButAcceptAndReferer)
{
    const QByteArray valueA =
        "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash,"
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
    const QByteArray valueB =
        "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

    for (int engine = 0; engine < 4; ++engine) {
        SCOPED_TRACE(engine);
        const RequestFields h = requestFor(u"x", engine, u"英语", u"中文").headers;
        EXPECT_EQ(h.handleRedirects, true);
        EXPECT_EQ(h.accept, engine == 0 ? valueA : valueB);
        EXPECT_EQ(h.acceptLanguage, "zh-cn");
        EXPECT_EQ(h.contentType, "application/x-www-form-urlencoded");
        EXPECT_EQ(h.userAgent,
                  "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)");
        EXPECT_EQ(h.connection, "Keep-Alive");
        EXPECT_EQ(h.cacheControl, "no-cache");
    }
}

TEST(EngineRequest, NoRequestOutsideTheFourEngines)
{
    for (const int engine : {-1, 4, 255, 256})
        EXPECT_FALSE(buildEngineRequest(u"x", engine, u"英语", u"中文", testSites())) << engine;
}
