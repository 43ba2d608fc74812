// Undo snapshots of a large maze and of an object list with big pictures, and the window's
// composed client picture with an overlay.
#include "document/CGridloomDoc.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/CDC.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"
#include "view/CQVUnDo.h"
#include "view/ClientPicture.h"
#include "view/ScreenBuffer.h"
#include "view/ViewOverlay.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Maze {
    TempFolder folder{"bench"};
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;
};

std::unique_ptr<Maze> MakeBox(int columns, int rows) {
    auto maze = std::make_unique<Maze>();
    maze->profile = std::make_unique<CProfile>(maze->folder.File("OrlimberSTD.ini"));
    maze->doc = std::make_unique<CGridloomDoc>(*maze->profile);
    CGridloomDoc& doc = *maze->doc;
    doc.Settings().kind = KIND_BOX;
    doc.Settings().columns = columns;
    doc.Settings().rows = rows;
    doc.Settings().fitToPage = 1;
    doc.SetupGrids(false);
    return maze;
}

// Once the history is full, each press reuses the memory of the step it drops.
void BM_SaveBoxCells(benchmark::State& state) {
    auto maze = MakeBox(2000, 2000);
    CQVUnDo undo;
    undo.SetDepth(4);
    for (int i = 0; i < 5; ++i)
        undo.SaveUndoState(CQVUnDo::kMazeChannel, *maze->doc);
    for (auto _ : state)
        undo.SaveUndoState(CQVUnDo::kMazeChannel, *maze->doc);
    state.counters["cells"] = double(maze->doc->GetGrid(0)->Cells().size());
}
BENCHMARK(BM_SaveBoxCells)->Unit(benchmark::kMillisecond);

// The first presses: fresh memory for every step.
void BM_SaveBoxCellsIntoFreshMemory(benchmark::State& state) {
    auto maze = MakeBox(2000, 2000);
    for (auto _ : state) {
        state.PauseTiming();
        auto undo = std::make_unique<CQVUnDo>();
        state.ResumeTiming();
        undo->SaveUndoState(CQVUnDo::kMazeChannel, *maze->doc);
        state.PauseTiming();
        undo.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveBoxCellsIntoFreshMemory)->Unit(benchmark::kMillisecond);

void BM_RestoreBoxCells(benchmark::State& state) {
    auto maze = MakeBox(2000, 2000);
    CQVUnDo undo;
    for (auto _ : state) {
        state.PauseTiming();
        undo.SaveUndoState(CQVUnDo::kMazeChannel, *maze->doc);
        state.ResumeTiming();
        if (!undo.RestoreUndoState(CQVUnDo::kMazeChannel, *maze->doc))
            state.SkipWithError("nothing restored");
    }
}
BENCHMARK(BM_RestoreBoxCells)->Unit(benchmark::kMillisecond);

void BM_SnapshotTwentyBigPictures(benchmark::State& state) {
    auto maze = MakeBox(10, 10);
    auto picture = std::make_shared<CRaster>(4000, 3000, 24);
    for (int i = 0; i < 20; ++i) {
        CLogicalRectTracker o;
        o.SetImage(i % 2 ? picture : std::make_shared<CRaster>(*picture),
                   CLogicalRectTracker::kindPicture);
        o.SetLayer(1);
        maze->doc->layerObjects.push_back(std::move(o));
    }
    CQVUnDo undo;
    for (auto _ : state)
        undo.SaveUndoState(CQVUnDo::kObjectChannel, *maze->doc);
}
BENCHMARK(BM_SnapshotTwentyBigPictures)->Unit(benchmark::kMicrosecond);

// A dotted frame like the one a drag shows.
class FramePart : public IOverlayPart {
public:
    void DrawOverlay(CDC& dc) override {
        CPen pen(PS_DOT, 0, RGB(0, 0, 0));
        dc.SelectObject(&pen);
        dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(200, 150, 900, 700);
    }
};

void BM_ComposeClientWithOverlay(benchmark::State& state) {
    ScreenBuffer page;
    // A page larger than the client at 96 dpi, so that every client pixel is copied.
    if (!page.Rebuild(17000, 14000, 96, 96)) {
        state.SkipWithError("no page");
        return;
    }
    ViewOverlay overlay;
    FramePart frame;
    overlay.Add(frame);
    ClientPicture client;
    const CSize size(1280, 1024);
    for (auto _ : state) {
        RasterSurface* shown =
            client.Compose(page, CPoint(30, 40), size, overlay, CRect(0, 0, size.cx, size.cy));
        benchmark::DoNotOptimize(shown->Pixels());
    }
}
BENCHMARK(BM_ComposeClientWithOverlay)->Unit(benchmark::kMillisecond);

} // namespace
