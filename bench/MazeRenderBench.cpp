// Full renders of made and solved mazes into the view's off-screen page, as a screen paint
// after Make Maze does them: a 500 x 500 Box, a 300 x 300 Hex and a circular maze of about
// 250,000 cells. Then a 2000 x 2000 Box from File New through Make Maze to the painted page.
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <filesystem>
#include <memory>
#include <numeric>

namespace {

struct Maze {
    TempFolder dir{"render-bench"};
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;
    std::unique_ptr<CGridloomView> view;

    Maze(int kind, int columns, int rows) {
        profile = std::make_unique<CProfile>(dir.File("OrlimberSTD.ini"));
        doc = std::make_unique<CGridloomDoc>(*profile);
        doc->Settings().kind = kind;
        doc->Settings().columns = columns;
        doc->Settings().rows = rows;
        doc->Settings().seed = 1;
        doc->OnFileNew();
        view = std::make_unique<CGridloomView>();
        view->SetDocument(doc.get());
        view->OnInitialUpdate();
    }
    ~Maze() {
        view.reset();
        doc.reset();
    }
    void Make() {
        if (doc->GetGrid(0)->GridType() == GRID_RING)
            view->LayoutRings();
        doc->OnGenerateMaze();
        view->SetShowSolution(true);
    }
    void Render(benchmark::State& state) {
        for (auto _ : state) {
            doc->reRender = 1;
            benchmark::DoNotOptimize(view->PaintScreen());
        }
        long cells = 0;
        if (doc->GetGrid(0)->GridType() == GRID_RING)
            cells = std::accumulate(doc->RingCounts().begin(), doc->RingCounts().end(), 0L);
        else
            cells = long{doc->Settings().columns} * doc->Settings().rows * doc->GridCount();
        state.counters["cells"] = static_cast<double>(cells);
    }
};

void RenderBox500(benchmark::State& state) {
    Maze maze(KIND_BOX, 500, 500);
    maze.Make();
    maze.Render(state);
}

void RenderHex300(benchmark::State& state) {
    Maze maze(KIND_HEX, 300, 300);
    maze.Make();
    maze.Render(state);
}

void RenderCircular250k(benchmark::State& state) {
    Maze maze(KIND_CIRCULAR, 10, 10);
    Object& grid = *maze.doc->GetGrid(0);
    grid.ring0Count = 108;
    grid.innerRadius = 0.05;
    maze.doc->ClearRingCounts();
    maze.Make();
    maze.Render(state);
}

double MillisSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Each step's share is reported besides the whole ("new_ms", "make_ms", "paint_ms").
void NewMakePaintBox2000(benchmark::State& state) {
    double newMs = 0, makeMs = 0, paintMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TempFolder dir{"render-bench"};
        CProfile profile(dir.File("OrlimberSTD.ini"));
        auto doc = std::make_unique<CGridloomDoc>(profile);
        auto view = std::make_unique<CGridloomView>();
        view->SetDocument(doc.get());
        view->OnInitialUpdate();
        doc->Settings().kind = KIND_BOX;
        doc->Settings().columns = 2000;
        doc->Settings().rows = 2000;
        doc->Settings().seed = 1;
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        doc->OnFileNew();
        newMs += MillisSince(start);
        start = std::chrono::steady_clock::now();
        doc->OnGenerateMaze();
        makeMs += MillisSince(start);
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(view->PaintScreen());
        paintMs += MillisSince(start);
        state.PauseTiming();
        view.reset();
        doc.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["new_ms"] = newMs / n;
    state.counters["make_ms"] = makeMs / n;
    state.counters["paint_ms"] = paintMs / n;
}

} // namespace

BENCHMARK(NewMakePaintBox2000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RenderBox500)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderHex300)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderCircular250k)->Unit(benchmark::kMillisecond);
