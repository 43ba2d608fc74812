// Full renders of made and solved tiled Box mazes (the default built-in set) into the view's
// off-screen page: 500 x 500 and 50 x 50 cells.
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void RenderTiled(benchmark::State& state, int cells) {
    TempFolder dir{"tiled-bench"};
    CProfile profile(dir.File("OrlimberSTD.ini"));
    auto doc = std::make_unique<CGridloomDoc>(profile);
    doc->Settings().kind = KIND_BOX;
    doc->Settings().tiled = 1;
    doc->Settings().tilerId = ":ID:#180";
    doc->Settings().columns = cells;
    doc->Settings().rows = cells;
    doc->Settings().seed = 1;
    doc->OnFileNew();
    auto view = std::make_unique<CGridloomView>();
    view->SetDocument(doc.get());
    view->OnInitialUpdate();
    doc->OnGenerateMaze();
    view->SetShowSolution(true);
    for (auto _ : state) {
        doc->reRender = 1;
        benchmark::DoNotOptimize(view->PaintScreen());
    }
    state.counters["cells"] = double(cells) * cells;
    view.reset();
}

void RenderTiled500(benchmark::State& state) {
    RenderTiled(state, 500);
}

void RenderTiled50(benchmark::State& state) {
    RenderTiled(state, 50);
}

} // namespace

BENCHMARK(RenderTiled500)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderTiled50)->Unit(benchmark::kMillisecond);
