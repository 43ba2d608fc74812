#include "image/filters/ConvolutionFilter.h"

#include "image/filters/FilterSamples.h"
#include "image/filters/RasterFilterRun.h"
#include "image/filters/Vectorized.h"

#include <algorithm>
#include <limits>
#include <vector>

ConvolutionFilter::ConvolutionFilter(std::span<const LONG> kernel, LONG k, LONG divisor,
                                     LONG offset)
    : kernel_(kernel), k_(k), half_(k / 2), divisor_(divisor), offset_(offset) {
    if (k < 1 || k > CRaster::kMaxFilterWindow || kernel.size() < std::size_t(k) * std::size_t(k))
        return;
    std::int64_t magnitude = 0;
    for (const LONG w : kernel_.first(std::size_t(k) * std::size_t(k))) {
        total_ += w;
        magnitude += w < 0 ? -std::int64_t{w} : std::int64_t{w};
    }
    // Small kernels sum in 32 bits, which the compiler spreads over vector lanes.
    fitsInt32_ = magnitude * 255 <= std::numeric_limits<std::int32_t>::max();
}

BYTE ConvolutionFilter::Result(std::int64_t sum, std::int64_t weights) const {
    // The product of a sum and the total needs more than 64 bits for extreme kernels.
    __int128 v = sum;
    if (total_ != 0 && divisor_ != 0 && weights != 0) {
        if (weights != total_)
            v = __int128{sum} * total_ / (__int128{divisor_} * weights);
        else
            v = sum / divisor_;
    }
    v += offset_;
    return static_cast<BYTE>(std::clamp<__int128>(v, 0, 255));
}

bool ConvolutionFilter::Apply(CRaster& image) const {
    if (k_ < 1 || k_ > CRaster::kMaxFilterWindow ||
        kernel_.size() < std::size_t(k_) * std::size_t(k_))
        return false;
    RasterFilterRun run(image);
    if (!run.Ready())
        return false;
    const FilterSamples samples(image);
    if (!run.Rows([&](LONG y) { FilterRow(samples, run, y); }))
        return false;
    return run.Finish();
}

void ConvolutionFilter::FilterRow(const FilterSamples& samples, RasterFilterRun& run,
                                  LONG y) const {
    const RECT& box = run.Box();
    const LONG width = LONG(run.Source().GetWidth());
    const LONG height = LONG(run.Source().GetHeight());
    // Columns whose whole window lies inside the picture.
    LONG x0 = box.right, x1 = box.right;
    if (y - half_ >= 0 && y - half_ + k_ <= height) {
        x0 = std::clamp(half_, box.left, box.right);
        x1 = std::clamp(width - k_ + half_ + 1, x0, box.right);
    }
    for (LONG x = box.left; x < x0; ++x)
        BorderPixel(samples, run, x, y);
    if (x0 < x1) {
        if (fitsInt32_)
            InteriorRun<std::int32_t>(samples, run, y, x0, x1);
        else
            InteriorRun<std::int64_t>(samples, run, y, x0, x1);
    }
    for (LONG x = std::max(x1, box.left); x < box.right; ++x)
        BorderPixel(samples, run, x, y);
}

// Sums a run of pixels whose windows lie inside the picture one kernel entry at a time, over
// whole rows of values, which keeps the inner loop a plain multiply-add over bytes.
template <class Accumulator>
VECTORIZED void ConvolutionFilter::InteriorRun(const FilterSamples& samples, RasterFilterRun& run,
                                               LONG y, LONG x0, LONG x1) const {
    const int nc = samples.Channels();
    const std::size_t n = std::size_t(x1 - x0) * std::size_t(nc);
    std::vector<Accumulator> sums(n, 0);
    Accumulator* acc = sums.data();
    for (LONG j = 0; j < k_; ++j) {
        const BYTE* row = samples.Row(y - half_ + j);
        for (LONG i = 0; i < k_; ++i) {
            const Accumulator w = static_cast<Accumulator>(kernel_[std::size_t(j * k_ + i)]);
            if (w == 0)
                continue;
            const BYTE* src = row + std::size_t(x0 - half_ + i) * std::size_t(nc);
            for (std::size_t t = 0; t < n; ++t)
                acc[t] += w * static_cast<Accumulator>(src[t]);
        }
    }
    const bool plainSum = total_ == 0 || divisor_ == 0;
    BYTE values[3];
    for (LONG x = x0; x < x1; ++x) {
        if (!run.Selected(x, y))
            continue;
        const Accumulator* s = acc + std::size_t(x - x0) * std::size_t(nc);
        for (int c = 0; c < nc; ++c) {
            const std::int64_t v =
                (plainSum ? std::int64_t{s[c]} : std::int64_t{s[c]} / divisor_) + offset_;
            values[c] = static_cast<BYTE>(std::clamp<std::int64_t>(v, 0, 255));
        }
        samples.Store(run.Target(), x, y, values);
    }
}

void ConvolutionFilter::BorderPixel(const FilterSamples& samples, RasterFilterRun& run, LONG x,
                                    LONG y) const {
    if (!run.Selected(x, y))
        return;
    const LONG width = LONG(run.Source().GetWidth());
    const LONG height = LONG(run.Source().GetHeight());
    const int nc = samples.Channels();
    std::int64_t sums[3] = {0, 0, 0};
    std::int64_t weights = 0;
    for (LONG j = 0; j < k_; ++j) {
        const LONG sy = y - half_ + j;
        if (sy < 0 || sy >= height)
            continue;
        const BYTE* row = samples.Row(sy);
        for (LONG i = 0; i < k_; ++i) {
            const LONG sx = x - half_ + i;
            if (sx < 0 || sx >= width)
                continue;
            const std::int64_t w = kernel_[std::size_t(j * k_ + i)];
            weights += w;
            for (int c = 0; c < nc; ++c)
                sums[c] += w * row[std::size_t(sx) * std::size_t(nc) + std::size_t(c)];
        }
    }
    BYTE values[3];
    for (int c = 0; c < nc; ++c)
        values[c] = Result(sums[c], weights);
    samples.Store(run.Target(), x, y, values);
}
