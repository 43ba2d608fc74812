// Metafiles that ask for far more drawing than their size: each must be drawn, or cut short,
// in well under a second.
#include "image/core/CRaster.h"

#include "tests/codecs/MetafileBombs.h"

#include <benchmark/benchmark.h>

namespace {

void Play(benchmark::State& state, const std::vector<BYTE>& file) {
    for (auto _ : state) {
        CRaster image;
        if (!image.DecodeFromMemory(file, CRaster::kTypeWmf))
            state.SkipWithError(image.GetLastError());
        benchmark::DoNotOptimize(image.GetBits(0));
    }
    state.counters["bytes"] = double(file.size());
}

void BM_Emf1kFullRectangles(benchmark::State& state) {
    Play(state, MetafileBombs::FullRectanglesEmf(1000));
}
void BM_Emf100kFullRectangles(benchmark::State& state) {
    Play(state, MetafileBombs::FullRectanglesEmf(100000));
}
void BM_EmfPolygonOf1MPoints(benchmark::State& state) {
    Play(state, MetafileBombs::StarPolygonEmf(1000000));
}
void BM_EmfZigzagOf1MPoints(benchmark::State& state) {
    Play(state, MetafileBombs::ZigzagPolygonEmf(1000000));
}
void BM_Wmf1kFullRectangles(benchmark::State& state) {
    Play(state, MetafileBombs::FullRectanglesWmf(1000));
}
// 4000 texts of 16000 characters in the default font, in one record.
void BM_EmfPolyTextOf4000Texts(benchmark::State& state) {
    Play(state, MetafileBombs::PolyTextEmf(4000, 16000));
}
// Four 13000 x 13000 run-length pattern brushes (5.4 MB).
void BM_EmfFourHugePatternBrushes(benchmark::State& state) {
    Play(state, MetafileBombs::PatternBrushesEmf(4, 13000));
}
// One 13000 x 13000 run-length bitmap stretched over the picture.
void BM_EmfHugeStretchedBitmap(benchmark::State& state) {
    Play(state, MetafileBombs::StretchedRleEmf(13000));
}

} // namespace

BENCHMARK(BM_Emf1kFullRectangles)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Emf100kFullRectangles)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EmfPolygonOf1MPoints)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EmfZigzagOf1MPoints)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Wmf1kFullRectangles)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EmfPolyTextOf4000Texts)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EmfFourHugePatternBrushes)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EmfHugeStretchedBitmap)->Unit(benchmark::kMillisecond)->Iterations(2);
