// Throughput of the HTTP client against a loopback server, form encoding and the
// Cookie value. Reading must stay linear in the body size.
#include "net/CookieStore.h"
#include "net/FormEncoding.h"
#include "net/HttpClient.h"

#include "ScriptedServer.h"

#include <benchmark/benchmark.h>

using namespace mirel;
using mirel::test::Reply;
using mirel::test::ScriptedServer;

namespace {

enum Framing { ContentLength, Chunked, UntilClose };

Reply replyFor(qsizetype size, Framing framing)
{
    const QByteArray body(size, 'x');
    switch (framing) {
    case ContentLength:
        return Reply("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(size) + "\r\n\r\n" +
                     body);
    case Chunked: {
        QByteArray out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (qsizetype at = 0; at < size; at += 8192) {
            const qsizetype n = std::min<qsizetype>(8192, size - at);
            out += QByteArray::number(n, 16) + "\r\n" + body.mid(at, n) + "\r\n";
        }
        return Reply(out + "0\r\n\r\n");
    }
    case UntilClose:
        return Reply("HTTP/1.1 200 OK\r\n\r\n" + body).close();
    }
    return Reply();
}

void BM_Get(benchmark::State &state, Framing framing)
{
    const qsizetype size = state.range(0);
    ScriptedServer server;
    const Reply reply = replyFor(size, framing);
    THttpClient client;
    const QByteArray address = server.baseUrl() + "/body";
    for (auto _ : state) {
        server.enqueue(reply);
        const QByteArray body = client.Get(address);
        if (body.size() != size)
            state.SkipWithError("short body");
        benchmark::DoNotOptimize(body.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_FormEncodeGbk(benchmark::State &state)
{
    QByteArray gbk;
    while (gbk.size() < (1 << 20))
        gbk += "\xD6\xD0\xCE\xC4 [x]&"; // 中文 and a few escaped characters
    for (auto _ : state) {
        QList<QByteArray> fields{"text=" + gbk, "from=zh", "to=en"};
        encodeFormFields(fields);
        benchmark::DoNotOptimize(joinFormFields(fields).constData());
    }
    state.SetBytesProcessed(state.iterations() * gbk.size());
}

void BM_CookieValue(benchmark::State &state)
{
    TCookieStore store;
    for (int i = 0; i < 1000; ++i)
        store.AddCookie("c" + QByteArray::number(i) + "=v; domain=.d" + QByteArray::number(i % 10) +
                            ".test",
                        "www.d" + QByteArray::number(i % 10) + ".test");
    for (auto _ : state)
        benchmark::DoNotOptimize(store.CookieValue("www.d3.test", "/").constData());
}

} // namespace

BENCHMARK_CAPTURE(BM_Get, content_length, ContentLength)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(16 << 20);
BENCHMARK_CAPTURE(BM_Get, chunked, Chunked)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20);
BENCHMARK_CAPTURE(BM_Get, until_close, UntilClose)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20);
BENCHMARK(BM_FormEncodeGbk);
BENCHMARK(BM_CookieValue);

BENCHMARK_MAIN();
