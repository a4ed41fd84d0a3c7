// The work of the core modules that grows with its input: form encoding of 1 MiB, the
// Cookie value of a store with 1,000 cookies, and scraping a 200 KiB dictionary page.
#include "dictionary/WordScraper.h"
#include "net/CookieStore.h"
#include "net/FormEncoding.h"

#include <benchmark/benchmark.h>

#include <QFile>

using namespace mirel;

namespace {

void BM_FormEncode1MiB(benchmark::State &state)
{
    QByteArray gbk;
    while (gbk.size() < (1 << 20))
        gbk += "\xD6\xD0\xCE\xC4 [x]&abc"; // 中文, a blank and escaped characters
    gbk.truncate(1 << 20);
    for (auto _ : state) {
        QList<QByteArray> fields{"text=" + gbk, "from=zh", "to=en"};
        encodeFormFields(fields);
        benchmark::DoNotOptimize(joinFormFields(fields).constData());
    }
    state.SetBytesProcessed(state.iterations() * gbk.size());
}

void BM_CookieValue1000(benchmark::State &state)
{
    TCookieStore store;
    for (int i = 0; i < 1000; ++i)
        store.AddCookie("c" + QByteArray::number(i) + "=v; domain=.d" + QByteArray::number(i % 10) +
                            ".test",
                        "www.d" + QByteArray::number(i % 10) + ".test");
    for (int i = 0; i < 1000; ++i)
        store.AddCookie("h" + QByteArray::number(i) + "=v", "www.d3.test");
    for (auto _ : state)
        benchmark::DoNotOptimize(store.CookieValue("www.d3.test", "/").constData());
}

// The dictionary fixture page with its example blocks repeated up to 200 KiB.
QByteArray bigDictionaryPage()
{
    QFile file(QStringLiteral(MIREL_DICTIONARY_PAGE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray page = file.readAll();
    const qsizetype from = page.indexOf("<div id=\"ssResultDiv1\"");
    const qsizetype to = page.lastIndexOf("<div class=space7></div>") + 24;
    if (from < 0 || to < from)
        return {};
    const QByteArray blocks = page.mid(from, to - from);
    QByteArray middle;
    while (middle.size() + page.size() < (200 << 10))
        middle += blocks;
    return page.left(from) + middle + page.mid(to);
}

void BM_Scrape200KiB(benchmark::State &state)
{
    const QByteArray page = bigDictionaryPage();
    if (page.isEmpty() || scrapeWord("apple", page).isEmpty()) {
        state.SkipWithError("no dictionary page");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(scrapeWord("apple", page).constData());
    state.SetBytesProcessed(state.iterations() * page.size());
}

} // namespace

BENCHMARK(BM_FormEncode1MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CookieValue1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scrape200KiB)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
