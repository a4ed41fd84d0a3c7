// Whole exchanges against the scripted server, read from fixture files.
#include "net/HttpClient.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::HttpFixture;
using mirel::test::Reply;
using mirel::test::ScriptedServer;

namespace {

struct Call
{
    QByteArray method;
    QByteArray target;
    QList<QByteArray> fields;
};

// Applies the <call> section to the client: its first line is the method and target,
// then "field <line>", "set <Field> <value>" and "option <Setting>" lines.
Call prepare(const QByteArray &callText, THttpClient &client)
{
    QList<QByteArray> lines = callText.split('\n');
    Call call;
    const QByteArray first = lines.takeFirst().trimmed();
    call.method = first.left(first.indexOf(' '));
    call.target = first.mid(first.indexOf(' ') + 1);
    for (QByteArray line : lines) {
        line.chop(line.endsWith('\r') ? 1 : 0);
        if (line.startsWith("field "))
            call.fields.append(line.mid(6));
        else if (line.startsWith("option HandleRedirects"))
            client.HandleRedirects = true;
        else if (line.startsWith("set Connection "))
            client.Request.Connection = line.mid(15);
        else if (line.startsWith("set ContentLength "))
            client.Request.ContentLength = line.mid(18).toLongLong();
    }
    return call;
}

class HttpWire : public testing::TestWithParam<const char *>
{
};

} // namespace

TEST_P(HttpWire, RequestAndBodyMatchFixture)
{
    ScriptedServer server;
    const HttpFixture fixture = HttpFixture::load(
        QStringLiteral(MIREL_TEST_DATA_DIR "/http/%1.txt").arg(QLatin1String(GetParam())),
        server.port());
    for (qsizetype i = 0; i < fixture.sections.size(); ++i) {
        const HttpFixture::Section &s = fixture.sections[i];
        if (s.tag == "reply") {
            Reply reply(s.text);
            if (s.opening.contains("close"))
                reply.close();
            server.enqueue(reply);
        }
    }
    THttpClient client;
    client.ReadTimeoutMs = 5000;
    client.ConnectTimeoutMs = 5000;
    Call call = prepare(fixture.first("call"), client);
    const QByteArray address = server.baseUrl() + call.target;
    const QByteArray body =
        call.method == "POST" ? client.Post(address, call.fields) : client.Get(address);

    const QList<QByteArray> expected = fixture.all("request");
    const QList<QByteArray> actual = server.requests();
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "request " << i;
    EXPECT_EQ(body.toStdString(), fixture.first("body").toStdString());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HttpWire,
                         testing::Values("get_before_post", "post_form", "post_302", "post_307",
                                         "get_200_location", "chunked", "chunk_extension",
                                         "chunked_capital", "short_body", "continue_100"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param);
                         });
