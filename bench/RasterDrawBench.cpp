// Resampling a 4000 x 4000 picture to 1000 x 1000 and drawing a small picture with a
// transparent colour many times, as layer pictures are drawn.
#include "image/core/CRaster.h"
#include "platform/CDC.h"
#include "platform/CrtRandom.h"

#include <benchmark/benchmark.h>

namespace {

constexpr DWORD kLarge = 4000;
constexpr LONG kSmall = 1000;

const CRaster& LargePicture() {
    static const CRaster picture = [] {
        CRaster img(kLarge, kLarge, 24);
        CrtRandom rnd;
        for (DWORD y = 0; y < kLarge; ++y) {
            BYTE* row = img.GetBits(y);
            for (DWORD x = 0; x < kLarge; ++x) {
                const int noise = rnd.rand() % 16;
                row[x * 3] = static_cast<BYTE>((x / 16 + noise) & 0xFF);
                row[x * 3 + 1] = static_cast<BYTE>((y / 16 + noise) & 0xFF);
                row[x * 3 + 2] = static_cast<BYTE>(((x + y) / 32) & 0xFF);
            }
        }
        return img;
    }();
    return picture;
}

struct Target {
    Target(int width, int height) {
        bitmap.CreateBitmap32(width, height);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
    CBitmap bitmap;
    CDC dc;
};

// The drawing routine's own resampling: nearest pixel, or area averages when smoothing.
void BM_DrawShrink(benchmark::State& state, bool smooth) {
    const CRaster& source = LargePicture();
    Target t(kSmall, kSmall);
    for (auto _ : state)
        benchmark::DoNotOptimize(source.Draw(t.dc, 0, 0, kSmall, kSmall, nullptr, smooth));
    state.SetItemsProcessed(state.iterations() * kSmall * kSmall);
}
BENCHMARK_CAPTURE(BM_DrawShrink, nearest, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DrawShrink, smooth_area, true)->Unit(benchmark::kMillisecond);

// One interpolated sample per target pixel, at the pixel's middle, for each mode.
void BM_ResampleMode(benchmark::State& state) {
    const CRaster& source = LargePicture();
    const int mode = static_cast<int>(state.range(0));
    const float scale = static_cast<float>(kLarge) / kSmall;
    CRaster out(kSmall, kSmall, 24);
    for (auto _ : state) {
        for (LONG y = 0; y < kSmall; ++y)
            for (LONG x = 0; x < kSmall; ++x)
                out.BlindSetPixelColor(
                    x, y,
                    source.GetPixelColorInterpolated((float(x) + 0.5f) * scale - 0.5f,
                                                     (float(y) + 0.5f) * scale - 0.5f, mode,
                                                     CRaster::kOverflowRepeat));
        benchmark::DoNotOptimize(out.GetBits(0));
    }
    state.SetItemsProcessed(state.iterations() * kSmall * kSmall);
}
BENCHMARK(BM_ResampleMode)->DenseRange(1, 18)->Unit(benchmark::kMillisecond);

// A 200 x 200 picture, half of it the transparent colour, drawn 10,000 times.
void BM_DrawTransparent(benchmark::State& state) {
    CRaster img(200, 200, 24);
    for (LONG y = 0; y < 200; ++y)
        for (LONG x = 0; x < 200; ++x)
            img.SetPixelColor(x, y,
                              ((x / 10 + y / 10) % 2) ? RGBQUAD::FromRgb(255, 255, 255)
                                                      : RGBQUAD::FromRgb(BYTE(x), BYTE(y), 40));
    img.SetTransparentIndex(0);
    img.SetTransparentColor(RGBQUAD::FromRgb(255, 255, 255));
    Target t(400, 400);
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(img.Draw(t.dc, i % 200, (i / 200) % 200));
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DrawTransparent)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
