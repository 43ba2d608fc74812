// Make Maze (growing and solving) on large templates, with the memory the generator adds.
#include "document/CGridloomDoc.h"
#include "maze/RingPlan.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <numeric>
#include <unistd.h>

namespace {

struct Maze {
    TempFolder folder{"bench"};
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;
};

std::unique_ptr<Maze> MakeDoc(int kind, int columns, int rows) {
    auto maze = std::make_unique<Maze>();
    maze->profile = std::make_unique<CProfile>(maze->folder.File("OrlimberSTD.ini"));
    maze->doc = std::make_unique<CGridloomDoc>(*maze->profile);
    CGridloomDoc& doc = *maze->doc;
    doc.Settings().kind = kind;
    doc.Settings().columns = columns;
    doc.Settings().rows = rows;
    doc.Settings().fitToPage = 1;
    doc.SetupGrids(false);
    return maze;
}

// The rings of the fewest inner cells (inner radius 5%) that hold at least `cells` cells.
std::vector<int> RingsOf(long cells) {
    for (int inner = 15; inner < 10000; ++inner) {
        const RingPlan plan = RingPlan::For(4000, inner, 0.05);
        const auto& counts = plan.Counts();
        if (std::accumulate(counts.begin(), counts.end(), 0L) >= cells) {
            return counts;
        }
    }
    return {};
}

long CellCount(const CGridloomDoc& doc) {
    long cells = 0;
    for (int g = 0; g < doc.GridCount(); ++g) {
        for (const MazeCell& c : doc.GetGrid(g)->Cells()) {
            cells += (c.flags & CELL_ERASED) ? 0 : 1;
        }
    }
    return cells;
}

void Run(benchmark::State& state, CGridloomDoc& doc) {
    std::size_t arrays = 0;
    for (int g = 0; g < doc.GridCount(); ++g) {
        arrays += 2 * doc.GetGrid(g)->Cells().size() * sizeof(MazeCell);
    }
    for (auto _ : state) {
        state.PauseTiming();
        doc.ClearMaze(false);
        doc.cursorColumn = doc.cursorRow = -1;
        doc.Settings().seed = 1234;
        state.ResumeTiming();
        doc.OnGenerateMaze();
    }
    // What the generator keeps besides the cells and their backup: the frontier's entries
    // and its index of list positions, one per cell.
    std::size_t index = 0;
    for (const auto& e : doc.frontier.Extents()) {
        index += static_cast<std::size_t>(e.width) * e.height * sizeof(std::int32_t);
    }
    const std::size_t entries = doc.frontier.EntryBytes();
    state.counters["cells"] = static_cast<double>(CellCount(doc));
    state.counters["cell_arrays_MB"] = static_cast<double>(arrays) / 1e6;
    state.counters["frontier_MB"] = static_cast<double>(index + entries) / 1e6;
    state.counters["added_x_arrays"] = static_cast<double>(index + entries) / arrays;
}

void BM_Box(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    auto maze = MakeDoc(KIND_BOX, side, side);
    Run(state, *maze->doc);
}
BENCHMARK(BM_Box)->Arg(100)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_Hex(benchmark::State& state) {
    auto maze = MakeDoc(KIND_HEX, 500, 500);
    Run(state, *maze->doc);
}
BENCHMARK(BM_Hex)->Unit(benchmark::kMillisecond);

void BM_Circular(benchmark::State& state) {
    auto maze = MakeDoc(KIND_CIRCULAR, 10, 10);
    maze->doc->SetRingCounts(RingsOf(250000));
    Run(state, *maze->doc);
}
BENCHMARK(BM_Circular)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// Solving alone, on a grown 1000 x 1000 box maze.
void BM_SolveBox1000(benchmark::State& state) {
    auto maze = MakeDoc(KIND_BOX, 1000, 1000);
    CGridloomDoc& doc = *maze->doc;
    doc.Settings().seed = 1234;
    doc.OnGenerateMaze();
    for (auto _ : state) {
        doc.OnSolveMaze();
    }
}
BENCHMARK(BM_SolveBox1000)->Unit(benchmark::kMillisecond);

} // namespace
