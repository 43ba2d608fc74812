#include "platform/VisibleStretch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// One axis of the stretch: destination pixel to source pixel, as the scaled copy truncates.
struct Axis {
    double start; // the destination's low edge
    double size;  // the destination's extent, positive
    int sourceStart;
    int sourceSize;
    bool flip;

    Axis(double d0, double d1, int s0, int s1)
        : start(std::min(d0, d1)), size(std::fabs(d1 - d0)), sourceStart(std::min(s0, s1)),
          sourceSize(std::abs(s1 - s0)), flip((s1 < s0) != (d1 < d0)) {}

    int Source(int device) const {
        auto u = static_cast<long long>(std::floor((device - start) * sourceSize / size));
        u = std::clamp<long long>(u, 0, sourceSize - 1);
        return sourceStart + static_cast<int>(flip ? sourceSize - 1 - u : u);
    }
    // The device pixels [low, high) the destination covers inside [clipLow, clipHigh).
    bool Visible(int clipLow, int clipHigh, int& low, int& high) const {
        low = static_cast<int>(std::max<double>(clipLow, std::round(start)));
        high = static_cast<int>(std::min<double>(clipHigh, std::round(start + size)));
        return low < high;
    }
};

} // namespace

bool VisibleStretch::Sample(RasterSurface& source, const CRect& from, double x0, double y0,
                            double x1, double y1, const CRect& clip, const Band& draw) {
    if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1))
        return true;
    const Axis across(x0, x1, from.left, from.right);
    const Axis down(y0, y1, from.top, from.bottom);
    if (across.size < 1 || down.size < 1 || across.sourceSize == 0 || down.sourceSize == 0)
        return true;
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!across.Visible(clip.left, clip.right, left, right) ||
        !down.Visible(clip.top, clip.bottom, top, bottom))
        return true;
    std::vector<int> columns(static_cast<std::size_t>(right - left));
    for (int x = left; x < right; ++x)
        columns[static_cast<std::size_t>(x - left)] = across.Source(x);
    const std::uint32_t* pixels = source.Pixels();
    const std::ptrdiff_t stride = source.Stride() / 4;
    for (int bandTop = top; bandTop < bottom; bandTop += kBandRows) {
        const int bandBottom = std::min(bottom, bandTop + kBandRows);
        const auto band = RasterSurface::Create(right - left, bandBottom - bandTop);
        if (!band)
            return false;
        for (int y = bandTop; y < bandBottom; ++y) {
            const int sy = down.Source(y);
            if (sy < 0 || sy >= source.Height())
                continue;
            std::uint32_t* out = band->Row(y - bandTop);
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (columns[i] >= 0 && columns[i] < source.Width())
                    out[i] = pixels[sy * stride + columns[i]];
        }
        band->MarkDirty();
        draw(*band, CRect(left, bandTop, right, bandBottom));
    }
    return true;
}
