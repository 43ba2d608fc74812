// Depth reduction and nearest-colour search on a 4000 x 5000 photo-like picture.
#include "image/core/CNearestColorCache.h"
#include "image/core/CRaster.h"
#include "image/core/StandardPalette.h"
#include "platform/CrtRandom.h"

#include <benchmark/benchmark.h>

namespace {

constexpr DWORD kWidth = 4000;
constexpr DWORD kHeight = 5000;

// Smooth gradients with some noise, so that diffusion meets many distinct colours.
const CRaster& Picture() {
    static const CRaster picture = [] {
        CRaster img(kWidth, kHeight, 24);
        CrtRandom rnd;
        for (DWORD y = 0; y < kHeight; ++y) {
            BYTE* row = img.GetBits(y);
            for (DWORD x = 0; x < kWidth; ++x) {
                const int noise = rnd.rand() % 16;
                row[x * 3] = static_cast<BYTE>((x * 255 / kWidth + noise) & 0xFF);
                row[x * 3 + 1] = static_cast<BYTE>((y * 255 / kHeight + noise) & 0xFF);
                row[x * 3 + 2] = static_cast<BYTE>(((x + y) / 36 + noise) & 0xFF);
            }
        }
        return img;
    }();
    return picture;
}

void BM_DecreaseBpp24To8(benchmark::State& state, bool diffusion) {
    const CRaster& source = Picture();
    for (auto _ : state) {
        state.PauseTiming();
        CRaster img(source);
        state.ResumeTiming();
        benchmark::DoNotOptimize(img.DecreaseBpp(8, diffusion));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK_CAPTURE(BM_DecreaseBpp24To8, diffusion, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_DecreaseBpp24To8, nearest_only, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// Every pixel of the picture looked up in the 8-bit standard palette.
void BM_NearestIndexPerPixel(benchmark::State& state) {
    const CRaster& source = Picture();
    CRaster target(1, 1, 8);
    target.SetStdPalette();
    for (auto _ : state) {
        unsigned sum = 0;
        for (DWORD y = 0; y < kHeight; ++y)
            for (DWORD x = 0; x < kWidth; ++x)
                sum += target.GetNearestIndex(source.BlindGetPixelColor(LONG(x), LONG(y), false));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_NearestIndexPerPixel)->Unit(benchmark::kMillisecond)->Iterations(2);

// The plain palette scan on the first 500 rows, for comparison.
void BM_FullPaletteScan500Rows(benchmark::State& state) {
    const CRaster& source = Picture();
    const auto pal = StandardPalette(8);
    BYTE bytes[256 * 4];
    for (int i = 0; i < 256; ++i)
        pal[i].Store(bytes + i * 4);
    for (auto _ : state) {
        unsigned sum = 0;
        for (DWORD y = 0; y < 500; ++y)
            for (DWORD x = 0; x < kWidth; ++x)
                sum += CNearestColorCache::Scan(bytes, 256,
                                                source.BlindGetPixelColor(LONG(x), LONG(y), false));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * 500);
}
BENCHMARK(BM_FullPaletteScan500Rows)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
