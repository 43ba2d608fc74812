#include "image/filters/MedianFilter.h"

#include "image/filters/RasterFilterRun.h"
#include "image/filters/Vectorized.h"

#include <algorithm>
#include <cstring>

namespace {

BYTE Luminance(RGBQUAD c) {
    return static_cast<BYTE>((601 * c.rgbGreen + 306 * c.rgbRed + 117 * c.rgbBlue) >> 10);
}

std::vector<BYTE> LuminancePlane(const CRaster& image) {
    const LONG width = LONG(image.GetWidth());
    const LONG height = LONG(image.GetHeight());
    std::vector<BYTE> plane(std::size_t(width) * std::size_t(height));
    BYTE* out = plane.data();
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x)
            *out++ = Luminance(image.BlindGetPixelColor(x, y, false));
    return plane;
}

// The key that sorting would put at n / 2. Small windows count each key's rank without
// branches, which beats a partial sort on pictures whose order is unpredictable.
VECTORIZED std::uint32_t MiddleKey(std::uint32_t* keys, std::uint32_t n) {
    constexpr std::uint32_t kSmall = 25;
    if (n > kSmall) {
        std::nth_element(keys, keys + n / 2, keys + n);
        return keys[n / 2];
    }
    std::uint32_t middle = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t rank = 0;
        for (std::uint32_t j = 0; j < n; ++j)
            rank += keys[j] < keys[i];
        middle = rank == n / 2 ? keys[i] : middle;
    }
    return middle;
}

} // namespace

bool MedianFilter::Apply(CRaster& image) const {
    if (k_ < 1 || k_ > CRaster::kMaxFilterWindow)
        return false;
    RasterFilterRun run(image);
    if (!run.Ready())
        return false;
    const std::vector<BYTE> luminance = LuminancePlane(image);
    std::vector<std::uint32_t> keys(std::size_t(k_) * std::size_t(k_));
    if (!run.Rows([&](LONG y) { FilterRow(run, luminance, y, keys); }))
        return false;
    return run.Finish();
}

void MedianFilter::FilterRow(RasterFilterRun& run, const std::vector<BYTE>& luminance, LONG y,
                             std::vector<std::uint32_t>& keys) const {
    const CRaster& source = run.Source();
    CRaster& target = run.Target();
    const LONG width = LONG(source.GetWidth());
    const LONG height = LONG(source.GetHeight());
    const LONG y0 = std::max(y - half_, 0), y1 = std::min(y - half_ + k_, height);
    const bool trueColor = source.GetBpp() == 24;
    const bool alpha = source.IsAlphaValid();
    const RECT& box = run.Box();
    for (LONG x = box.left; x < box.right; ++x) {
        if (!run.Selected(x, y))
            continue;
        const LONG x0 = std::max(x - half_, 0), x1 = std::min(x - half_ + k_, width);
        // Luminance above, window order below: the keys are distinct, so the element that
        // lands at count / 2 is the one a stable sort by luminance puts there.
        std::uint32_t n = 0;
        for (LONG sy = y0; sy < y1; ++sy) {
            const BYTE* lum = luminance.data() + std::size_t(sy) * std::size_t(width);
            for (LONG sx = x0; sx < x1; ++sx, ++n)
                keys[n] = std::uint32_t{lum[sx]} << 16 | n;
        }
        const std::uint32_t order = MiddleKey(keys.data(), n) & 0xFFFF;
        const LONG columns = x1 - x0;
        const LONG sx = x0 + LONG(order % std::uint32_t(columns));
        const LONG sy = y0 + LONG(order / std::uint32_t(columns));
        if (trueColor) {
            std::memcpy(target.GetPixelPointer(x, y), source.GetBits(DWORD(sy)) + 3 * sx, 3);
            if (alpha)
                *target.GetAlphaPointer(x, y) = source.BlindGetAlpha(sx, sy);
        } else {
            target.BlindSetPixelColor(x, y, source.BlindGetPixelColor(sx, sy, true), true);
        }
    }
}
