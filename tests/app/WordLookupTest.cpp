#include "WordLookupFixture.h"
#include "app/LocalFileGuard.h"
#include "app/TWebBrowser.h"
#include "support/ScriptedServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

namespace mirel {
namespace {

using test::ScriptedServer;
using test::WordLookup;

QByteArray fixturePage(const char *name)
{
    QFile file(QStringLiteral(MIREL_TEST_DATA_DIR "/dictionary/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray okResponse(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Every site at a closed port but the dictionary.
Sites dictionaryAt(const QByteArray &base)
{
    Sites sites = Sites::local(1);
    sites.dictionary = base;
    return sites;
}

// The images of the page have loaded (the page reads its own folder).
const QString picturesLoaded = QStringLiteral(
    "Array.prototype.every.call(document.images, function (i) { return i.complete && "
    "i.naturalWidth == 13; }) && document.images.length == 4");

TEST_F(WordLookup, ForeignWordOnTheSiteServer)
{
    const test::SiteServerProcess server;
    ASSERT_NE(server.port(), 0) << "mirel-sites did not start";
    const Sites sites = Sites::local(server.port());
    open(sites);
    lookUpAndWait(QStringLiteral("apple"));

    EXPECT_EQ(display(QStringLiteral("body")), QStringLiteral("block"));
    EXPECT_EQ(display(QStringLiteral("help")), QStringLiteral("none"));
    EXPECT_EQ(display(QStringLiteral("sound")), QString());
    EXPECT_EQ(text(QStringLiteral("#word")), QStringLiteral("apple"));
    EXPECT_EQ(text(QStringLiteral("#phonetic")), QStringLiteral("[ˈæpl]"));
    EXPECT_EQ(text(QStringLiteral("#translate")), QStringLiteral("n. 苹果；苹果树\nn. 苹果公司"));
    EXPECT_EQ(run(QStringLiteral("document.querySelectorAll('.images')[0].innerText")).toString(),
              QStringLiteral("1、I eat an apple every day.\u00A0"));
    EXPECT_EQ(run(QStringLiteral("document.querySelectorAll('.images')[1].innerText")).toString(),
              QStringLiteral("我每天吃一个苹果。"));
    EXPECT_TRUE(run(picturesLoaded).toBool());

    // The word's sound link hands the word to the speech site of the configuration.
    run(QStringLiteral("document.querySelector('#sound a').click()"));
    EXPECT_EQ(run(QStringLiteral("MediaPlayer.url")).toString(),
              QString::fromLatin1(sites.tts) + QStringLiteral("/translate_tts?tl=en&q=apple"));

    // The lookup's request fields stay set on the shared client.
    EXPECT_TRUE(window->MirelHTTP.HandleRedirects);
    EXPECT_EQ(window->MirelHTTP.Request.Referer, sites.dictionary + '/');
    EXPECT_EQ(window->MirelHTTP.Request.UserAgent,
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727)");
}

TEST_F(WordLookup, ChineseWordOnTheSiteServerHidesTheWordsSound)
{
    const test::SiteServerProcess server;
    ASSERT_NE(server.port(), 0) << "mirel-sites did not start";
    open(Sites::local(server.port()));
    lookUpAndWait(QStringLiteral("苹果"));

    EXPECT_EQ(display(QStringLiteral("body")), QStringLiteral("block"));
    EXPECT_EQ(display(QStringLiteral("help")), QStringLiteral("none"));
    EXPECT_EQ(display(QStringLiteral("sound")), QStringLiteral("none"));
    EXPECT_EQ(text(QStringLiteral("#word")), QStringLiteral("苹果"));
    EXPECT_EQ(text(QStringLiteral("#translate")),
              QStringLiteral("apple\napple tree pomaceous fruit"));
    EXPECT_EQ(run(QStringLiteral("document.querySelectorAll('.images')[0].innerText")).toString(),
              QStringLiteral("1、I eat an apple every day.\u00A0"));
    EXPECT_EQ(run(QStringLiteral("document.querySelectorAll('.images')[1].innerText")).toString(),
              QStringLiteral("我每天吃一个苹果。"));
    // The examples keep their sound icons.
    EXPECT_TRUE(run(picturesLoaded).toBool());
}

TEST_F(WordLookup, SpacesAndPunctuationLeaveTheWord)
{
    ScriptedServer server;
    server.reply(okResponse(QByteArray()));
    open(dictionaryAt(server.baseUrl()));
    lookUp(QStringLiteral("ice cream"));

    ASSERT_EQ(server.requests().size(), 1);
    QByteArray request = server.requests().front();
    static const QRegularExpression digit(QStringLiteral("&r=[0-9] "));
    EXPECT_TRUE(digit.match(QString::fromLatin1(request)).hasMatch()) << request.toStdString();
    request.replace(digit.match(QString::fromLatin1(request)).capturedStart(), 5, "&r=D ");
    EXPECT_EQ(request,
              "GET /search?tab=chn&keyfrom=dict.top&q=icecream&btnG=%E6%90%9C+%E7%B4%A2&r=D "
              "HTTP/1.1\r\n"
              "Content-Type: text/html\r\n"
              "Host: 127.0.0.1:" +
                  QByteArray::number(server.port()) +
                  "\r\n"
                  "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                  "application/x-shockwave-flash, application/vnd.ms-excel, "
                  "application/vnd.ms-powerpoint, application/msword, */*\r\n"
                  "Accept-Encoding: identity\r\n"
                  "Referer: " +
                  server.baseUrl() +
                  "/\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR "
                  "2.0.50727)\r\n"
                  "\r\n");
    // An empty answer is nothing found.
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes.front().text, QStringLiteral("没有查找到您输入的单词!"));
    EXPECT_EQ(presenter->boxes.front().caption, QStringLiteral("提示"));
    EXPECT_EQ(presenter->boxes.front().icon, mbiInformation);
    EXPECT_EQ(QApplication::focusWidget(), window->Word);
}

TEST_F(WordLookup, EmptyWordAsksForOneAndSendsNothing)
{
    ScriptedServer server;
    open(dictionaryAt(server.baseUrl()));
    const QUrl shown = window->WordBrowser->navigatedUrl();
    lookUp(QString());

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes.front().text, QStringLiteral("请输入您要查询的单词!"));
    EXPECT_EQ(presenter->boxes.front().caption, QStringLiteral("提示"));
    EXPECT_EQ(QApplication::focusWidget(), window->Word);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(window->WordBrowser->navigatedUrl(), shown);
    EXPECT_FALSE(QFile::exists(resultPath()));
}

TEST_F(WordLookup, NotFoundPageSaysSoAndKeepsThePage)
{
    ScriptedServer server;
    server.reply(okResponse(fixturePage("notfound.html")));
    open(dictionaryAt(server.baseUrl()));
    const QUrl shown = window->WordBrowser->navigatedUrl();
    lookUp(QStringLiteral("apple"));

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes.front().text, QStringLiteral("没有查找到您输入的单词!"));
    EXPECT_EQ(QApplication::focusWidget(), window->Word);
    EXPECT_EQ(window->WordBrowser->navigatedUrl(), shown);
    EXPECT_FALSE(QFile::exists(resultPath()));
}

TEST_F(WordLookup, FailedRequestIsReportedAndKeepsTheLastPage)
{
    ScriptedServer server;
    server.reply(okResponse(fixturePage("apple.html")));
    open(dictionaryAt(server.baseUrl()));
    lookUpAndWait(QStringLiteral("apple"));
    const QByteArray page = resultBytes();
    ASSERT_TRUE(page.startsWith("\xFF\xFE<\0"));

    // No answer queued: the server closes the connection.
    lookUp(QStringLiteral("pear"));
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes.front().caption, QStringLiteral("Mirel免费翻译软件"));
    EXPECT_EQ(presenter->boxes.front().icon, mbiError);
    EXPECT_EQ(resultBytes(), page);
    EXPECT_EQ(window->WordBrowser->navigatedUrl(), QUrl::fromLocalFile(resultPath()));
    EXPECT_EQ(text(QStringLiteral("#word")), QStringLiteral("apple"));
}

TEST_F(WordLookup, RefusedConnectionIsReportedAndWritesNothing)
{
    open(Sites::local(1));
    const QStringList files = QDir(webFolder()).entryList(QDir::Files);
    lookUp(QStringLiteral("apple"));

    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes.front().text,
              QStringLiteral("Socket Error # 10061\r\nConnection refused."));
    EXPECT_EQ(presenter->boxes.front().icon, mbiError);
    EXPECT_EQ(QDir(webFolder()).entryList(QDir::Files), files);
    EXPECT_EQ(window->WordBrowser->navigatedUrl(),
              QUrl::fromLocalFile(webFolder() + QStringLiteral("Translate.html")));
}

TEST_F(WordLookup, MissingTemplateIsWrittenAgainWithItsPictures)
{
    ScriptedServer server;
    server.reply(okResponse(fixturePage("apple.html")));
    open(dictionaryAt(server.baseUrl()));
    ASSERT_TRUE(QFile::remove(webFolder() + QStringLiteral("Translate.html")));
    ASSERT_TRUE(QFile::remove(webFolder() + QStringLiteral("sound.gif")));
    lookUpAndWait(QStringLiteral("apple"));
    EXPECT_TRUE(QFile::exists(webFolder() + QStringLiteral("Translate.html")));
    EXPECT_TRUE(run(picturesLoaded).toBool());
}

TEST_F(WordLookup, SentencesPlayAndFieldsRunNothing)
{
    QByteArray body = fixturePage("apple.html");
    body.replace("<span>The <b>apple</b> of my eye.</span>",
                 "<span>The <script>window.injected = 1</script><b>apple</b> "
                 "<img src=\"x\" onerror=\"window.injected = 2\">"
                 "<img id=\"outside\" src=\"../outside.gif\">of my eye.</span>");
    ScriptedServer server;
    server.reply(okResponse(body));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(":/PIC/SOUND"), dir.filePath(QStringLiteral("outside.gif"))));
    open(dictionaryAt(server.baseUrl()));
    lookUpAndWait(QStringLiteral("apple"));

    EXPECT_EQ(run(QStringLiteral("typeof window.injected")).toString(),
              QStringLiteral("undefined"));
    EXPECT_EQ(run(QStringLiteral("document.querySelectorAll('.images')[4].innerText")).toString(),
              QStringLiteral("3、The apple of my eye.\u00A0"));

    // "She's eating an apple." keeps its apostrophe on the way to the speech site.
    run(QStringLiteral("document.querySelectorAll('#imageslist a')[1].click()"));
    EXPECT_EQ(run(QStringLiteral("MediaPlayer.url")).toString(),
              QStringLiteral("http://127.0.0.1:1/translate_tts?tl=en&q=She's eating an apple."));

    // The page reads the pictures of its folder and no other file.
    EXPECT_EQ(run(QStringLiteral("document.getElementById('outside').naturalWidth")).toInt(), 0);
    EXPECT_EQ(run(QStringLiteral("document.querySelector('#sound img').naturalWidth")).toInt(), 13);
    const QString read = QStringLiteral(
        "(function () { try { var r = new XMLHttpRequest(); r.open('GET', '%1', false); "
        "r.send(); return r.responseText.length; } catch (e) { return -1; } })()");
    EXPECT_LE(
        run(read.arg(QUrl::fromLocalFile(dir.filePath(QStringLiteral("outside.gif"))).toString()))
            .toInt(),
        0);
}

TEST(LocalFileGuard, LocalPagesKeepToTheirFolder)
{
    const QUrl page = QUrl::fromLocalFile(QStringLiteral("/data/Web/Temp.html"));
    EXPECT_TRUE(
        LocalFileGuard::allows(page, QUrl::fromLocalFile(QStringLiteral("/data/Web/sound.gif"))));
    EXPECT_TRUE(
        LocalFileGuard::allows(page, QUrl(QStringLiteral("http://127.0.0.1:1/translate_tts"))));
    EXPECT_FALSE(
        LocalFileGuard::allows(page, QUrl::fromLocalFile(QStringLiteral("/data/Web/../secret"))));
    EXPECT_FALSE(
        LocalFileGuard::allows(page, QUrl::fromLocalFile(QStringLiteral("/data/Web2/x.gif"))));
    EXPECT_FALSE(LocalFileGuard::allows(page, QUrl(QStringLiteral("file:///etc/passwd"))));
    // Remote pages are not its business.
    EXPECT_TRUE(LocalFileGuard::allows(QUrl(QStringLiteral("http://127.0.0.1:1/ad.html")),
                                       QUrl(QStringLiteral("file:///etc/passwd"))));
}

} // namespace
} // namespace mirel
