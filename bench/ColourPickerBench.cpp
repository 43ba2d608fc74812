#include "controls/CFODropColorPaletteControl.h"
#include "controls/CFODropPaletteControl.h"
#include "controls/IPickerHost.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"

#include <benchmark/benchmark.h>

namespace {

class QuietHost : public IPickerHost {
public:
    void Post(UINT, WPARAM, LPARAM) override {}
    void Invalidate(const CRect&) override {}
    void Hide() override {}
    void SetCapture(bool) override {}
    void FocusPreviousTabItem() override {}
};

struct Surface {
    Surface(int w, int h) {
        bitmap.CreateBitmap32(w, h);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
    CBitmap bitmap;
    CDC dc;
};

// One paint of the 48-colour popup (cells, frame, caption, "Custom..." text).
void BM_PalettePaint(benchmark::State& state) {
    QuietHost host;
    CFODropColorPaletteControl palette;
    palette.Create(&host, RGB(255, 0, 0), CRect(0, 0, 200, 150), true);
    Surface s(200, 150);
    for (auto _ : state) {
        palette.OnDraw(s.dc);
        s.dc.Flush();
    }
}
BENCHMARK(BM_PalettePaint)->Unit(benchmark::kMicrosecond);

// One paint of the colour wheel at the size the More Colors dialog gives it.
void BM_WheelPaint(benchmark::State& state) {
    QuietHost host;
    CFODropPaletteControl wheel;
    wheel.Create(&host, RGB(255, 255, 255), CRect(0, 0, 214, 230), false);
    Surface s(214, 230);
    for (auto _ : state) {
        wheel.OnDraw(s.dc);
        s.dc.Flush();
    }
}
BENCHMARK(BM_WheelPaint)->Unit(benchmark::kMicrosecond);

// Laying the wheel out again (on every resize).
void BM_WheelLayout(benchmark::State& state) {
    QuietHost host;
    CFODropPaletteControl wheel;
    wheel.Create(&host, RGB(255, 255, 255), CRect(0, 0, 214, 230), false);
    for (auto _ : state)
        wheel.RecalcLayout();
}
BENCHMARK(BM_WheelLayout)->Unit(benchmark::kMicrosecond);

// A hit test that misses every hexagon, so all 127 regions are asked.
void BM_WheelHitScan(benchmark::State& state) {
    QuietHost host;
    CFODropPaletteControl wheel;
    wheel.Create(&host, RGB(1, 2, 3), CRect(0, 0, 214, 230), false);
    wheel.SetCustomEntry(false);
    wheel.RecalcLayout();
    for (auto _ : state)
        benchmark::DoNotOptimize(wheel.HitTest(1, 1));
}
BENCHMARK(BM_WheelHitScan)->Unit(benchmark::kMicrosecond);

} // namespace
