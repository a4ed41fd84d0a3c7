#include "net/RequestWriter.h"

#include <gtest/gtest.h>

using namespace mirel;

TEST(RequestWriter, EveryHeaderInOrder)
{
    THttpRequest r;
    r.Connection = "Keep-Alive";
    r.ContentVersion = "1";
    r.ContentEncoding = "enc";
    r.ContentLanguage = "zh";
    r.ContentType = "application/x-www-form-urlencoded";
    r.ContentLength = 0;
    r.CacheControl = "no-cache";
    r.Pragma = "no-cache";
    r.CustomHeaders = {"X-One: 1"};
    r.ProxyConnection = "pc";
    r.Host = "h.test:81";
    r.AcceptCharSet = "gbk";
    r.AcceptEncoding = "identity";
    r.AcceptLanguage = "zh-cn";
    r.From = "me@h";
    r.Referer = "http://r.test/";
    r.Range = "0-9";
    r.LastModified = QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC);
    r.BasicAuthentication = true;
    EXPECT_EQ(writeRequestHead("POST", "/f?a=b", pv1_0, r, "a=1; b=2"),
              "POST /f?a=b HTTP/1.0\r\n"
              "Connection: Keep-Alive\r\n"
              "Content-Version: 1\r\n"
              "Content-Encoding: enc\r\n"
              "Content-Language: zh\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 0\r\n"
              "Cache-control: no-cache\r\n"
              "Pragma: no-cache\r\n"
              "X-One: 1\r\n"
              "Proxy-Connection: pc\r\n"
              "Host: h.test:81\r\n"
              "Accept: text/html, */*\r\n"
              "Accept-Charset: gbk\r\n"
              "Accept-Encoding: identity\r\n"
              "Accept-Language: zh-cn\r\n"
              "From: me@h\r\n"
              "Referer: http://r.test/\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Mirel HTTP)\r\n"
              "Range: bytes=0-9\r\n"
              "If-Modified-Since: Sun, 06 Nov 1994 08:49:37 GMT\r\n"
              "Authorization: Basic Og==\r\n"
              "Cookie: a=1; b=2\r\n"
              "\r\n");
}

TEST(RequestWriter, EmptyFieldsLeftOut)
{
    THttpRequest r;
    r.Accept.clear();
    r.ContentType.clear();
    r.UserAgent.clear();
    EXPECT_EQ(writeRequestHead("GET", "/", pv1_1, r, ""), "GET / HTTP/1.1\r\n\r\n");
}

TEST(HeaderFolding, LongLineBrokenIntoPiecesOfAtMost1024)
{
    QByteArray line = "Cookie: ";
    for (int i = 0; i < 300; ++i)
        line += "k" + QByteArray::number(i) + "=v; ";
    line.chop(2);
    const QList<QByteArray> pieces = foldHeaderLine(line);
    ASSERT_GT(pieces.size(), 1);
    QByteArray joined;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].size(), 1024);
        if (i > 0) {
            EXPECT_TRUE(pieces[i].startsWith(' '));
            EXPECT_FALSE(pieces[i].startsWith("  "));
        }
        joined += pieces[i];
    }
    // Only the blanks at the breaks differ.
    EXPECT_EQ(joined.simplified().replace(" ", ""), line.simplified().replace(" ", ""));
    EXPECT_EQ(foldHeaderLine(QByteArray(1024, 'x')).size(), 1);
    EXPECT_EQ(foldHeaderLine(QByteArray(2000, 'x')), QList<QByteArray>{QByteArray(2000, 'x')});
}
