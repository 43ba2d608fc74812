// Drawing a maze's walls: 1,000,000 two-point wall polygons with one pen into a 4000 x 5000
// raster, as the wall pass of a large printed maze does.
#include "platform/CDC.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 4000, kHeight = 5000;
constexpr int kColumns = 800, kRows = 625; // two walls per cell: 1,000,000 segments
constexpr int kCellW = kWidth / kColumns, kCellH = kHeight / kRows;

void DrawWalls(benchmark::State& state) {
    const int penWidth = static_cast<int>(state.range(0));
    CBitmap bitmap;
    bitmap.CreateBitmap32(kWidth, kHeight);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    CPen pen(PS_SOLID, penWidth, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    for (auto _ : state) {
        for (int row = 0; row < kRows; ++row) {
            for (int col = 0; col < kColumns; ++col) {
                const int x = col * kCellW, y = row * kCellH;
                const POINT top[] = {{x, y}, {x + kCellW, y}};
                const POINT left[] = {{x, y}, {x, y + kCellH}};
                dc.Polygon(top, 2);
                dc.Polygon(left, 2);
            }
        }
        dc.Flush();
        benchmark::DoNotOptimize(bitmap.Bits());
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns * 2);
}

} // namespace

BENCHMARK(DrawWalls)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
