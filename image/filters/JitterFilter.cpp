#include "image/filters/JitterFilter.h"

#include "image/filters/RasterFilterRun.h"
#include "platform/CrtRandom.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

bool JitterFilter::Apply(CRaster& image) const {
    RasterFilterRun run(image);
    if (!run.Ready())
        return false;
    if (!run.Rows([&](LONG y) { FilterRow(run, y); }))
        return false;
    return run.Finish();
}

LONG JitterFilter::Offset() const {
    const double u = random_.rand() / double(CrtRandom::kRandMax);
    // The most negative radius would reach one past the largest offset.
    const double offset = std::clamp((u - 0.5) * 2.0 * radius_, -2147483647.0, 2147483647.0);
    return static_cast<LONG>(offset);
}

void JitterFilter::FilterRow(RasterFilterRun& run, LONG y) const {
    const CRaster& source = run.Source();
    CRaster& target = run.Target();
    const bool trueColor = source.GetBpp() == 24;
    const bool alpha = source.IsAlphaValid();
    const RECT& box = run.Box();
    for (LONG x = box.left; x < box.right; ++x) {
        if (!run.Selected(x, y))
            continue;
        const LONG dx = Offset();
        const LONG dy = Offset();
        const std::int64_t tx = std::int64_t{x} + dx, ty = std::int64_t{y} + dy;
        LONG sx = x, sy = y;
        if (tx >= 0 && ty >= 0 && tx < std::int64_t{source.GetWidth()} &&
            ty < std::int64_t{source.GetHeight()}) {
            sx = LONG(tx);
            sy = LONG(ty);
        }
        if (trueColor)
            std::memcpy(target.GetPixelPointer(x, y), source.GetBits(DWORD(sy)) + 3 * sx, 3);
        else
            target.BlindSetPixelIndex(x, y, source.BlindGetPixelIndex(sx, sy));
        if (alpha)
            *target.GetAlphaPointer(x, y) = source.BlindGetAlpha(sx, sy);
    }
}
