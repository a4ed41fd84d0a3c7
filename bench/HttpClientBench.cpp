// The HTTP client against libcurl: the same loopback server, the same bodies (64 KiB,
// 1 MiB, 16 MiB; by Content-Length, chunked, until the close), one connection kept
// where the framing allows. The run ends with the ratio of the two per case.
#include "net/HttpClient.h"

#include "RatioReporter.h"
#include "ScriptedServer.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>
#include <string>
#include <utility>

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

void finish(benchmark::State &state, qsizetype got, qsizetype size)
{
    if (got != size)
        state.SkipWithError("short body");
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_Mirel(benchmark::State &state, Framing framing)
{
    const qsizetype size = state.range(0);
    ScriptedServer server;
    const Reply reply = replyFor(size, framing);
    THttpClient client;
    const QByteArray address = server.baseUrl() + "/body";
    qsizetype got = size;
    for (auto _ : state) {
        server.enqueue(reply);
        const QByteArray body = client.Get(address);
        got = body.size();
        benchmark::DoNotOptimize(body.constData());
    }
    finish(state, got, size);
}

size_t appendTo(char *data, size_t, size_t n, void *out)
{
    static_cast<QByteArray *>(out)->append(data, qsizetype(n));
    return n;
}

struct CurlDeleter
{
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};

void BM_Curl(benchmark::State &state, Framing framing)
{
    const qsizetype size = state.range(0);
    ScriptedServer server;
    const Reply reply = replyFor(size, framing);
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    const QByteArray address = server.baseUrl() + "/body";
    QByteArray body;
    curl_easy_setopt(curl.get(), CURLOPT_URL, address.constData());
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendTo);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    qsizetype got = size;
    for (auto _ : state) {
        server.enqueue(reply);
        body = QByteArray();
        if (curl_easy_perform(curl.get()) != CURLE_OK)
            state.SkipWithError("curl failed");
        got = body.size();
        benchmark::DoNotOptimize(body.constData());
    }
    finish(state, got, size);
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

} // namespace

int main(int argc, char **argv)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const std::pair<const char *, Framing> framings[] = {
        {"content_length", ContentLength}, {"chunked", Chunked}, {"until_close", UntilClose}};
    for (const auto &[name, framing] : framings) {
        benchmark::RegisterBenchmark((std::string("get/") + name + "/mirel").c_str(), BM_Mirel,
                                     framing)
            ->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("get/") + name + "/curl").c_str(), BM_Curl,
                                     framing)
            ->Apply(sizes);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    mirel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}
