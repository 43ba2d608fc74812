// Preparing a page from the web host on the worker: the largest page accepted, made of the
// markup that costs the most.
#include "net/PageMarkup.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Fill(const std::string& unit) {
    std::string page;
    while (page.size() + unit.size() <= PageMarkup::kMaxBytes)
        page += unit;
    return page;
}

void Prepare(benchmark::State& state, const std::string& unit) {
    const std::string page = Fill(unit);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            PageMarkup::Prepare(page, "http://127.0.0.1:8080/redir.php?LOC=info"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

} // namespace

BENCHMARK_CAPTURE(Prepare, NestedDivAndFont, std::string("<div><font size=+1>"));
BENCHMARK_CAPTURE(Prepare, UnclosedTables, std::string("<table><tr><td>"));
BENCHMARK_CAPTURE(Prepare, Words, std::string("word "));
BENCHMARK_CAPTURE(Prepare, Comments, std::string("<!-- c -->"));
BENCHMARK_CAPTURE(Prepare, Links, std::string("<a href=\"../x?a=1&amp;b=2\" onclick=x>l</a> "));
BENCHMARK_CAPTURE(Prepare, UnknownTags, std::string("<blink x=1 y=2 z=3>"));
